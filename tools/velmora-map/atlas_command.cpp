#include "velmora-map/atlas_command.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/count_arguments.h"
#include "cli/grid_arguments.h"
#include "cli/interruption.h"
#include "cli/option_reader.h"
#include "cli/output_files.h"
#include "count/atlas_records.h"
#include "count/selection_lists.h"
#include "map/atlas_csv.h"
#include "map/atlas_file_names.h"
#include "map/atlas_index.h"
#include "map/grid_drawing.h"
#include "map/legend.h"
#include "map/world_file.h"
#include "velmora-map/atlas_folder.h"
#include "velmora-map/atlas_maps.h"
#include "velmora-map/cartography_options.h"
#include "velmora-map/map_options.h"
#include "velmora-map/picture_files.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

constexpr KnownOption kOptions[] = {
    {"--db"},     {"--connect"},   {"--nw"},      {"--se"},           {"--system"},
    {"--type"},   {"--bmp"},       {"--out"},     {"--groups"},       {"--surveys"},
    {"--from"},   {"--to"},        {"--periods"}, {"--min-cells"},    {"--richness", false},
    {"--format"}, {"--font-size"}, {"--color"},   {"--force", false},
};

// The files of every atlas; the maps' are named after their taxa and groups.
constexpr std::array<const char*, 2> kFixedFiles = {"atlas.csv", "index.html"};

// Periods are told by at most this many start years.
constexpr size_t kMostPeriodStarts = 10;

struct AtlasRequest {
  CountArguments count;
  const GridTypeInfo* gridType = nullptr;
  MapState map;
  MapStyle style;
  fs::path out;
  AtlasFormat format = AtlasFormat::Png;
  std::vector<int> periods;
  int minCells = 1;
  bool richness = false;
  bool force = false;
  std::vector<NamedInput> inputs;
};

AtlasFormat ReadFormat(const OptionReader& given) {
  const std::string text = given.Optional("--format").value_or("png");
  if (text == "png") return AtlasFormat::Png;
  if (text == "jpg") return AtlasFormat::Jpeg;
  if (text == "pdf") return AtlasFormat::Pdf;
  throw UsageError("--format takes png, jpg or pdf, not '" + text + "'");
}

const char* ExtensionOf(AtlasFormat format) {
  switch (format) {
    case AtlasFormat::Jpeg:
      return ".jpg";
    case AtlasFormat::Pdf:
      return ".pdf";
    case AtlasFormat::Png:
      break;
  }
  return ".png";
}

AtlasRequest ReadRequest(Arguments args) {
  const OptionReader given(args, kOptions);
  AtlasRequest request;
  request.count = ReadCountArguments(given);
  if (given.Has("--measure")) throw UsageError("unknown option '--measure'");
  const GridSystemInfo& system = ParseGridSystem(given.Required("--system"));
  request.gridType = &ParseGridType(given.Required("--type"));
  CheckSystemOffersType(system, *request.gridType);
  request.map =
      BuildExtent(given.Required("--nw"), given.Required("--se"), *request.gridType, system);
  request.map.BackgroundImagePath = given.Required("--bmp");
  request.out = given.Required("--out");
  request.format = ReadFormat(given);
  request.periods =
      given.Has("--periods")
          ? ReadRisingNumbers("--periods", given.Required("--periods"), kFirstYear + 1, kLastYear,
                              kMostPeriodStarts)
          : std::vector<int>(std::begin(kDefaultPeriodStarts), std::end(kDefaultPeriodStarts));
  request.minCells = given.WholeNumber<int>("--min-cells", 1, 1'000'000).value_or(1);
  request.richness = given.Has("--richness");
  request.force = given.Has("--force");
  request.style.marginFontSize = FontSizeOption(given, "--font-size", "");
  request.style.marginLabelColor = ColorOption(given, "--color", clBlack);

  std::vector<NamedInput>& inputs = request.inputs;
  inputs = {{"--bmp", request.map.BackgroundImagePath}};
  if (request.count.database.file) inputs.push_back({"--db", *request.count.database.file});
  RefuseOutputNamingInput("--out", request.out, inputs);
  RefuseInputsThatAreNoFiles(inputs);
  return request;
}

// Margin labels of the wizard's 18 points crowd the narrow margins of the
// small sheets an atlas is drawn at; without --font-size they take a third
// of the margin's width in points, from 6 to 18.
std::string MarginFontSize(Margins margins) {
  return std::to_string(std::clamp(margins.left / 3, 6, 18));
}

// The atlas's pictures: the plain background, for PDF maps, and the map with
// its grid.
AtlasDrawing LoadPictures(const AtlasRequest& request) {
  const MapState& map = request.map;
  const std::string& bmp = map.BackgroundImagePath;
  std::optional<MapPicture> background = LoadBackgroundImage(bmp, map.SheetColumns, map.SheetRows);
  if (!background) throw Exception("cannot load '" + bmp + "' as a BMP background");
  MapStyle style = request.style;
  if (style.marginFontSize.empty()) style.marginFontSize = MarginFontSize(background->margins);
  MapPicture base = *background;
  DrawGrid(base.picture, GridDrawingOf(map, base.margins, style));
  return {map,
          style,
          std::move(base),
          std::move(*background),
          request.format,
          AtlasPeriods(request.periods),
          request.count.years};
}

// What the one pass over the database gives.
struct AtlasContent {
  std::vector<AtlasTaxon> taxa;
  std::map<std::string, std::string> groupNames;  // by key
};

AtlasContent ReadContent(const AtlasRequest& request) {
  AtlasContent content;
  CountFromCommandLine(
      request.count, *request.gridType, false,
      [&](DatabaseSession& session, const CountRunInputs& inputs, ProgressSink& progress) {
        LoadTaxonGroups(session, [&](SelectionItem item) {
          content.groupNames.emplace(std::move(item.key), std::move(item.name));
        });
        content.taxa = ReadAtlasRecords(session, request.map, inputs, progress);
        return CountResult{};
      });
  return content;
}

std::string GroupName(const AtlasContent& content, const std::string& key) {
  const auto found = content.groupNames.find(key);
  return found == content.groupNames.end() ? key : found->second;
}

// The maps to draw, with their files named after their taxa and groups, and
// the index's rows.
struct AtlasPlan {
  std::vector<AtlasMapJob> jobs;
  AtlasIndexPage index;
  std::set<std::string> files{kFixedFiles.begin(), kFixedFiles.end()};
};

std::string Relative(const std::string& folder, const std::string& stem, const char* extension) {
  return folder + "/" + stem + extension;
}

AtlasPlan PlanAtlas(const AtlasRequest& request, const AtlasContent& content) {
  AtlasPlan plan;
  AtlasFileNames names;
  const char* extension = ExtensionOf(request.format);
  const auto addMap = [&](AtlasMapJob job, const std::string& stem) {
    const std::string map = Relative("maps", stem, extension);
    const std::string thumbnail = Relative("thumbnails", stem, ".png");
    job.map = request.out / map;
    job.thumbnail = request.out / thumbnail;
    plan.files.insert({map, thumbnail});
    if (request.format != AtlasFormat::Pdf) {
      for (const SideFile& side : GeoreferenceFiles(map, {})) plan.files.insert(side.path);
    }
    plan.jobs.push_back(std::move(job));
    return std::pair(map, thumbnail);
  };
  std::map<std::string, std::vector<const AtlasTaxon*>> taxaOfGroup;
  for (const AtlasTaxon& taxon : content.taxa) {
    const std::string group = GroupName(content, taxon.groupKey);
    taxaOfGroup[taxon.groupKey].push_back(&taxon);
    AtlasIndexTaxon row{taxon.name,
                        group,
                        static_cast<int>(taxon.cells.size()),
                        taxon.Records(),
                        taxon.FirstYear(),
                        taxon.LastYear(),
                        {},
                        {}};
    if (static_cast<int>(taxon.cells.size()) >= request.minCells) {
      std::tie(row.map, row.thumbnail) =
          addMap({.groupName = group, .taxon = &taxon}, names.Take(taxon.name));
    }
    plan.index.taxa.push_back(std::move(row));
  }
  if (request.richness) {
    for (auto& [key, taxa] : taxaOfGroup) {
      const std::string group = GroupName(content, key);
      const auto [map, thumbnail] =
          addMap({.groupName = group, .groupTaxa = taxa}, names.Take("Artenzahl " + group));
      plan.index.richness.push_back({group, map, thumbnail});
    }
  }
  return plan;
}

void DescribeAtlas(const AtlasRequest& request, AtlasIndexPage& index) {
  index.title = "Verbreitungsatlas " + ExtentText(request.map);
  index.facts.emplace_back(request.gridType->name);
  const AtlasPeriods periods(request.periods);
  std::string periodText = "Letzter Nachweis: ";
  for (int period = 0; period < periods.Size(); ++period) {
    periodText += (period == 0 ? "" : ", ") + periods.Label(period);
  }
  index.facts.push_back(periodText + ", ohne Datum");
  const YearRange& years = request.count.years;
  if (years.from) index.facts.push_back("Nachweise ab " + std::to_string(*years.from));
  if (years.to) index.facts.push_back("Nachweise bis " + std::to_string(*years.to));
}

}  // namespace

// One pass over the database, then the files: the data, the maps on every
// core, and last the index, which links to the maps. Bad arguments, a folder
// that is no atlas and unknown keys are refused before anything is written.
int RunAtlas(Arguments args) {
  const AtlasRequest request = ReadRequest(args);
  AtlasFolder folder(request.out, request.force);
  folder.RefuseFilesNamingInputs({kFixedFiles.begin(), kFixedFiles.end()}, request.inputs);
  CheckMapPictureSize(request.map.BackgroundImagePath, request.map, request.force);
  const AtlasDrawing drawing = LoadPictures(request);
  const AtlasContent content = ReadContent(request);

  AtlasPlan plan = PlanAtlas(request, content);
  DescribeAtlas(request, plan.index);
  folder.RefuseFilesNamingInputs(plan.files, request.inputs);
  {
    const StopOnInterrupt interruption;
    folder.Begin(plan.files, {"maps", "thumbnails"});
    WriteContents(request.out / "atlas.csv", AtlasCsv(content.taxa, request.map));
    TerminalProgress progress;
    progress.SetProgressText("Zeichne Karten...");
    DrawAtlasMaps(drawing, plan.jobs, progress);
    if (StopOnInterrupt::Requested()) return 1;  // the signal ends the program as the object goes
    progress.Finish();
    WriteContents(request.out / "index.html", AtlasIndexHtml(plan.index));
    folder.Finish(plan.files);
  }
  std::printf("%s: %zu taxa, %zu maps, atlas.csv, index.html\n", request.out.string().c_str(),
              content.taxa.size(), plan.jobs.size());
  return 0;
}

}  // namespace velmora::cli
