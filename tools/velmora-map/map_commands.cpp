#include "velmora-map/map_commands.h"

#include <QImage>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cell_counts.h"
#include "cli/count_arguments.h"
#include "cli/grid_arguments.h"
#include "cli/option_reader.h"
#include "cli/output_files.h"
#include "demo/landscape.h"
#include "map/background.h"
#include "map/map_job.h"
#include "platform/integer_text.h"
#include "velmora-map/cartography_options.h"
#include "velmora-map/map_options.h"
#include "velmora-map/picture_files.h"

namespace velmora::cli {
namespace {

MapState ExtentOf(const OptionReader& options, const GridTypeInfo& gridType = kMesstischblatt) {
  return BuildExtent(options.Required("--nw"), options.Required("--se"), gridType);
}

// The background command's landscape is always the same one.
constexpr std::uint64_t kLandscapeSeed = 6508;

// A BMP file states its own size in 32 bits, which Qt's writer reads as signed.
bool FitsInBmp(int width, int height) {
  const std::int64_t rowBytes = (std::int64_t{width} * 3 + 3) / 4 * 4;
  return 54 + rowBytes * height <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

int RunDraw(Arguments args) {
  constexpr KnownOption kKnown[] = {{"--nw"},         {"--se"},        {"--bmp"},
                                    {"--out"},        {"--font-size"}, {"--color"},
                                    {"--counts"},     {"--type"},      {"--cell-font-size"},
                                    {"--cell-color"}, {"--measure"},   {"--force", false}};
  const OptionReader options(args, WithCartographyOptions(kKnown));
  const std::optional<std::string> counts = options.Optional("--counts");
  for (const char* option :
       {"--type", "--measure", "--classes", "--breaks", "--values", "--legend"}) {
    if (options.Has(option) && !counts)
      throw UsageError(std::string(option) + " belongs to --counts");
  }
  const CountMeasure measure = ReadMeasure(options);
  const GridTypeInfo& gridType =
      counts ? ParseGridType(options.Required("--type")) : kMesstischblatt;
  MapState state = ExtentOf(options, gridType);
  state.BackgroundImagePath = options.Required("--bmp");
  const std::string& bmp = state.BackgroundImagePath;
  const std::string out = options.Required("--out");
  const MapStyle style{FontSizeOption(options, "--font-size", "18"),
                       ColorOption(options, "--color", clBlack),
                       FontSizeOption(options, "--cell-font-size", "10"),
                       ColorOption(options, "--cell-color", clBlack), ReadCartography(options)};
  std::vector<NamedInput> inputs = {{"--bmp", bmp}};
  if (counts) inputs.push_back({"--counts", *counts});
  RefuseOutputNamingInput("--out", out, inputs);
  RefuseInputsThatAreNoFiles(inputs);
  CheckMapPictureSize(bmp, state, options.Has("--force"));
  if (counts) ReadCellCounts(*counts, gridType, MeasureName(measure), state);

  std::optional<MapPicture> map = DrawMapPicture(state, style);
  if (!map) throw Exception("cannot load '" + bmp + "' as a BMP background");
  MapMarks marks;
  if (counts) marks = DrawMapValues(map->picture, map->margins, state, style);
  // A counts file tells neither the years nor the taxa of all cells together.
  const MapFacts facts{measure, {}, CountsOfCells(state.Grids).size(), std::nullopt};
  const FinishedMap finished = FinishMap(*map, state, style, marks, facts);
  SavePicture(finished.picture, out, "PNG");
  ReportValuesLeftOut(marks);
  ReportWritten(out, finished.picture);
  return 0;
}

int RunBackground(Arguments args) {
  constexpr KnownOption kKnown[] = {
      {"--nw"}, {"--se"}, {"--out"}, {"--sheet-size"}, {"--force", false}};
  const OptionReader options(args, kKnown);
  const MapState state = ExtentOf(options);
  const std::string sizeText = options.Optional("--sheet-size").value_or("200");
  const std::optional<int> sheetSize = TryParseInteger(sizeText);
  if (!sheetSize || *sheetSize < 1 || *sheetSize > 2000) {
    throw UsageError("--sheet-size must be a number of pixels from 1 to 2000, not '" + sizeText +
                     "'");
  }
  const std::string out = options.Required("--out");
  const int width = state.SheetColumns * *sheetSize, height = state.SheetRows * *sheetSize;
  CheckPictureSize(width, height, options.Has("--force"));
  if (!FitsInBmp(width, height)) {
    throw Exception("a background of " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels is larger than a BMP file can be; choose a smaller --sheet-size");
  }
  const QImage land = demo::Landscape(state.SheetColumns, state.SheetRows, {*sheetSize, *sheetSize},
                                      kLandscapeSeed);
  if (land.isNull()) throw Exception("the background would be too large");
  SavePicture(land, out, "BMP");
  ReportWritten(out, land);
  return 0;
}

}  // namespace velmora::cli
