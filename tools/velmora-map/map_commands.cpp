#include "map_commands.h"

#include <QImage>
#include <QString>
#include <array>
#include <string>

#include "land_picture.h"
#include "map/background.h"
#include "map/grid_drawing.h"
#include "options.h"
#include "platform/integer_text.h"
#include "wizard/color_text.h"

namespace velmora::cli {
namespace {

// Grid type and grid system do not matter for the sheets of an extent.
MapState SheetsOfExtent(const Options& options) {
  return BuildExtent(options.Required("nw"), options.Required("se"), 0, 0);
}

void Save(const QImage& picture, const std::string& path, const char* format) {
  if (!picture.save(QString::fromStdString(path), format)) {
    throw Exception("cannot write '" + path + "'");
  }
}

}  // namespace

int RunDraw(Arguments args) {
  constexpr std::array<std::string_view, 6> kKnown = {"nw",  "se",        "bmp",
                                                      "out", "font-size", "color"};
  const Options options(args, kKnown);
  const MapState state = SheetsOfExtent(options);
  const std::string bmp = options.Required("bmp");
  const std::string out = options.Required("out");
  const std::string fontSize = options.Optional("font-size").value_or("18");
  TColor color = clBlack;
  try {
    color = StringToColor(options.Optional("color").value_or("clBlack"));
  } catch (const ConvertError& e) {
    throw UsageError(std::string("--color: ") + e.what());
  }

  std::optional<MapPicture> map = LoadBackgroundImage(bmp, state.SheetColumns, state.SheetRows);
  if (!map) throw Exception("cannot load '" + bmp + "' as a BMP background");
  DrawGrid(map->picture, {map->margins, state.SheetColumns, state.SheetRows, state.NwRow,
                          state.NwColumnIndex, fontSize, color});
  Save(map->picture, out, "PNG");
  return 0;
}

int RunBackground(Arguments args) {
  constexpr std::array<std::string_view, 4> kKnown = {"nw", "se", "out", "sheet-size"};
  const Options options(args, kKnown);
  const MapState state = SheetsOfExtent(options);
  const std::string sizeText = options.Optional("sheet-size").value_or("200");
  const std::optional<int> sheetSize = TryParseInteger(sizeText);
  if (!sheetSize || *sheetSize < 1 || *sheetSize > 2000) {
    throw UsageError("--sheet-size must be a number of pixels from 1 to 2000, not '" + sizeText +
                     "'");
  }
  const QImage land = LandPicture(state.SheetColumns, state.SheetRows, *sheetSize);
  if (land.isNull()) throw Exception("the background would be too large");
  Save(land, options.Required("out"), "BMP");
  return 0;
}

}  // namespace velmora::cli
