#include "map/cell_values.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "map/color.h"
#include "map/map_font.h"
#include "map/rounding.h"
#include "map/text_metrics.h"
#include "map/text_stamp.h"

namespace velmora {
namespace {

struct LaidOutText {
  TextStamp stamp;
  int width = 0;
  int height = 0;
};

// Counts repeat across a map: measuring and drawing each distinct text once,
// not once per cell, and laying its pixels over every cell that shows it,
// draws a large map in a fraction of the time.
class LaidOutTexts {
 public:
  LaidOutTexts(const QFont& font, const QColor& color) : font_(font), color_(color) {}

  const LaidOutText& Of(const std::string& count) {
    auto entry = texts_.find(count);
    if (entry == texts_.end()) {
      const QString text = QString::fromStdString(count);
      entry = texts_
                  .try_emplace(count, TextStamp(font_, color_, text), TextWidthOf(font_, text),
                               TextHeightOf(font_, text))
                  .first;
    }
    return entry->second;
  }

 private:
  const QFont font_;
  const QColor color_;
  std::unordered_map<std::string, LaidOutText> texts_;
};

// The rows of the picture are drawn one after the other, each from left to
// right along its memory, by the values of a band of rows around it: a large
// map is far too big for the cache, and value by value every row of a value
// would be fetched from memory on its own.
constexpr int kBandRows = 8;

// A value where it is laid, and the rows of the picture it inks.
struct PlacedValue {
  const TextStamp* stamp;
  int x;
  int y;
  int column;
  int top;
  int bottom;
};

}  // namespace

void DrawCellValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells) {
  if (picture.isNull() || cells.cellRows <= 0 || cells.cellColumns <= 0) return;
  const int mapWidth = picture.width() - cells.margins.left;
  const int mapHeight = picture.height() - cells.margins.top;
  // Half a cell width: round(map width / cell columns / 2).
  const int halfCell =
      static_cast<int>(RoundHalfEven(mapWidth, 2 * std::int64_t{cells.cellColumns}));
  // The map picture is RGB32; a picture of another format becomes one.
  if (picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
  LaidOutTexts texts(MapFont(FontPointsOf(cells.fontSizeText, halfCell)), ToQColor(cells.color));

  // The values are read and placed row by row, along the cell list's memory,
  // each into the bands of the picture it inks.
  const QRect whole = picture.rect();
  std::vector<std::vector<PlacedValue>> bands((picture.height() + kBandRows - 1) / kBandRows);
  const int rows = std::min(cells.cellRows, static_cast<int>(grids.size()));
  for (int j = 0; j < rows; ++j) {
    const int columns = std::min(cells.cellColumns, static_cast<int>(grids[j].size()));
    for (int i = 0; i < columns; ++i) {
      const std::string& count = grids[j][i].Count;
      if (count == "0") continue;
      const LaidOutText& text = texts.Of(count);
      const int x = cells.margins.left + CentredInPart(i, mapWidth, cells.cellColumns, text.width);
      const int y = cells.margins.top + CentredInPart(j, mapHeight, cells.cellRows, text.height);
      const QRect ink = text.stamp.Ink().translated(x, y) & whole;
      if (ink.isEmpty()) continue;
      for (int band = ink.top() / kBandRows; band <= ink.bottom() / kBandRows; ++band) {
        bands[band].push_back({&text.stamp, x, y, i, ink.top(), ink.bottom()});
      }
    }
  }
  // The values are drawn column by column, and in each column row by row:
  // where values overprint each other, the later one lies on top. Row by row,
  // each pixel still meets its values in that order.
  const PictureRows pixels(picture);
  for (size_t band = 0; band < bands.size(); ++band) {
    std::ranges::stable_sort(bands[band], {}, &PlacedValue::column);
    const int first = static_cast<int>(band) * kBandRows;
    for (int row = first; row < std::min(first + kBandRows, whole.height()); ++row) {
      for (const PlacedValue& value : bands[band]) {
        if (row >= value.top && row <= value.bottom) {
          value.stamp->LayOverRow(pixels, value.x, value.y, row);
        }
      }
    }
  }
}

}  // namespace velmora
