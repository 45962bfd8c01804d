#include "velmora-map/atlas_maps.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

#include "cli/interruption.h"
#include "map/jpeg_export.h"
#include "map/png_encoding.h"
#include "map/world_file.h"
#include "velmora-map/picture_files.h"

namespace velmora::cli {
namespace {

constexpr int kThumbnailWidth = 160;
// A group's richness is shown in this many classes.
constexpr int kRichnessClasses = 5;

void WriteRaster(const FinishedMap& finished, const std::filesystem::path& file,
                 AtlasFormat format) {
  WriteContents(file, format == AtlasFormat::Jpeg ? EncodeJpeg(finished.picture)
                                                  : EncodePngQuickly(finished.picture));
  for (const SideFile& side : GeoreferenceFiles(file, finished.georeference)) {
    WriteContents(side.path, side.contents);
  }
}

void WriteThumbnail(const FinishedMap& finished, const std::filesystem::path& file) {
  const QImage small = finished.picture.scaledToWidth(
      std::min(kThumbnailWidth, finished.picture.width()), Qt::SmoothTransformation);
  WriteContents(file, EncodePngQuickly(small));
}

// Draws a taxon's distribution map and writes it with its thumbnail.
void WriteTaxonMap(const AtlasDrawing& drawing, const AtlasMapJob& job) {
  const int periods = drawing.periods.Size();
  const TaxonMap taxonMap =
      TaxonMapOf(*job.taxon, job.groupName, drawing.periods, drawing.map, drawing.years);
  const FinishedMap finished =
      DrawTaxonMap(drawing.base, drawing.map, drawing.style, taxonMap, periods);
  if (drawing.format == AtlasFormat::Pdf) {
    WriteToFile(job.map, [&] {
      WriteTaxonMapPdf(job.map, drawing.background, drawing.map, drawing.style, taxonMap, periods);
    });
  } else {
    WriteRaster(finished, job.map, drawing.format);
  }
  WriteThumbnail(finished, job.thumbnail);
}

// Draws a group's richness map, classed and with a legend as the map
// command draws them, and writes it with its thumbnail.
void WriteRichnessMap(const AtlasDrawing& drawing, const AtlasMapJob& job) {
  MapState map = drawing.map;
  WriteGroupRichness(job.groupTaxa, map);
  MapStyle style = drawing.style;
  style.cartography.classes = ClassRule{kRichnessClasses, {}};
  style.cartography.values = CellValues::Fit;
  style.cartography.legend = true;
  style.cartography.title = "Artenzahl: " + job.groupName;
  const MapFacts facts{CountMeasure::Taxa, drawing.years, CountsOfCells(map.Grids).size(),
                       static_cast<int>(job.groupTaxa.size())};
  MapPicture picture = drawing.base;
  const MapMarks marks = DrawMapValues(picture.picture, picture.margins, map, style);
  const FinishedMap finished = FinishMap(picture, map, style, marks, facts);
  if (drawing.format == AtlasFormat::Pdf) {
    WriteToFile(job.map, [&] { WriteMapPdf(job.map, drawing.background, map, style, facts); });
  } else {
    WriteRaster(finished, job.map, drawing.format);
  }
  WriteThumbnail(finished, job.thumbnail);
}

}  // namespace

void DrawAtlasMaps(const AtlasDrawing& drawing, std::span<const AtlasMapJob> jobs,
                   TerminalProgress& progress) {
  std::atomic<size_t> next = 0;
  std::atomic<int> done = 0;
  std::atomic<bool> failed = false;
  std::exception_ptr failure;
  std::mutex failureMutex;
  const auto work = [&] {
    for (size_t job = next++; job < jobs.size() && !failed && !StopOnInterrupt::Requested();
         job = next++) {
      try {
        if (jobs[job].taxon) {
          WriteTaxonMap(drawing, jobs[job]);
        } else {
          WriteRichnessMap(drawing, jobs[job]);
        }
        ++done;
      } catch (...) {
        const std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        failed = true;
      }
    }
  };
  const unsigned cores = std::max(2U, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < cores; ++i) workers.emplace_back(work);
  const int total = static_cast<int>(jobs.size());
  while (done < total && !failed && !StopOnInterrupt::Requested()) {
    progress.SetItemsDone(done, total);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  for (std::thread& worker : workers) worker.join();
  if (failure) std::rethrow_exception(failure);
  progress.SetItemsDone(total, total);
}

}  // namespace velmora::cli
