// What cartography costs on the largest map: a count run over the generated
// database of 1,000,000 samples into the cells of 0901 to 8758
// (16tel-Quadranten: 293,248 cells; Minutenfelder: 274,920), then its picture
// over a background of 100 pixels a sheet drawn twice, each from the BMP on:
// as the dialog draws it (background, grid, labels, values), and classed,
// legended and with values that fit (five quantile classes, the legend strip
// below the map). The counters give the count and both drawings in seconds,
// and the classed drawing as a share of the count, which is to stay within a
// quarter. The counts of the generated database reach four digits, which fit
// no cell of this size: the fitted values are left out (fit_points 0), so the
// classed map is drawn a third time with every value at 10 points in the
// colour that reads on its class (classed_values_s). Encoding the picture
// into its file is not drawing and is left out.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QImage>
#include <QString>
#include <chrono>
#include <filesystem>
#include <string>

#include "bench_database.h"
#include "count/count_run.h"
#include "demo/landscape.h"
#include "grid/geodll32.h"
#include "map/map_job.h"

namespace {

using Clock = std::chrono::steady_clock;

// As the map benchmark draws the largest extent: 16tel-Quadranten of 12.5
// pixels, Minutenfelder of 10 x 16.7.
constexpr int kSheetSize = 100;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of this thread, which draws: on a machine shared with
// other work it tells what the drawing costs where its time stretches.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The demo's made-up landscape of the map's sheets as a 24-bit BMP, made once
// in the system's temporary folder and kept there for later runs.
std::string BackgroundBmp(const velmora::MapState& map) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("velmora-bench-background-" + std::to_string(kSheetSize) + ".bmp");
  if (!std::filesystem::exists(path)) {
    const std::filesystem::path part = path.string() + ".part";
    velmora::demo::Landscape(map.SheetColumns, map.SheetRows, {kSheetSize, kSheetSize}, 6508)
        .save(QString::fromStdString(part.string()), "BMP");
    std::filesystem::rename(part, path);
  }
  return path.string();
}

// The finished map in the style, from its background on: the seconds it took,
// the processor seconds it used and the size its values came to (0: left out).
struct Drawn {
  double seconds = 0;
  double processorSeconds = 0;
  int valuePoints = 0;
};

Drawn Draw(const velmora::MapState& map, const velmora::MapStyle& style,
           const velmora::MapFacts& facts) {
  const Clock::time_point start = Clock::now();
  const double processor = ThreadSeconds();
  velmora::MapPicture picture = velmora::DrawMapPicture(map, style).value();
  const velmora::MapMarks marks =
      velmora::DrawMapValues(picture.picture, picture.margins, map, style);
  const velmora::FinishedMap finished = velmora::FinishMap(picture, map, style, marks, facts);
  benchmark::DoNotOptimize(finished.picture.constBits());
  return {SecondsSince(start), ThreadSeconds() - processor, marks.valuePoints.value_or(0)};
}

void ClassedMapOfTheLargestExtent(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const int gridType = static_cast<int>(state.range(0));
  const std::string connectionString =
      velmora::bench::ConnectionStringOf(velmora::bench::BenchDatabase(1000000));
  velmora::MapStyle classed;
  classed.cartography.classes = velmora::ClassRule{5, {}};
  classed.cartography.values = velmora::CellValues::Fit;
  classed.cartography.legend = true;
  for (auto _ : state) {
    velmora::DatabaseSession session;
    session.Open(connectionString);
    velmora::bench::BenchCount prepared = velmora::bench::PrepareCount(session, gridType);
    velmora::MapState& map = prepared.map;
    map.BackgroundImagePath = BackgroundBmp(map);

    velmora::NoProgress silent;
    const Clock::time_point start = Clock::now();
    const velmora::CountResult counted =
        velmora::CountDatabase(session, map, prepared.Inputs(), silent);
    const double count = SecondsSince(start);

    const velmora::MapFacts facts{
        velmora::CountMeasure::Taxa, {}, counted.cells.size(), counted.distinctTaxa};
    const Drawn dialog = Draw(map, velmora::MapStyle{}, facts);
    const Drawn cartography = Draw(map, classed, facts);
    velmora::MapStyle classedValues = classed;
    classedValues.cartography.values = velmora::CellValues::On;
    const Drawn withValues = Draw(map, classedValues, facts);
    state.counters["cells"] = static_cast<double>(map.CellRows) * map.CellColumns;
    state.counters["counted"] = static_cast<double>(counted.cells.size());
    state.counters["count_s"] = count;
    state.counters["dialog_s"] = dialog.seconds;
    state.counters["classed_s"] = cartography.seconds;
    state.counters["classed_cpu_s"] = cartography.processorSeconds;
    state.counters["classed_share"] = cartography.seconds / count;
    state.counters["fit_points"] = cartography.valuePoints;
    state.counters["classed_values_s"] = withValues.seconds;
  }
}

BENCHMARK(ClassedMapOfTheLargestExtent)
    ->Arg(3)
    ->Arg(4)
    ->ArgName("gridtype")
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
