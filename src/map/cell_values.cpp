#include "map/cell_values.h"

#include <QPainter>
#include <QPoint>
#include <QStaticText>
#include <algorithm>
#include <cstdint>
#include <future>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "map/map_font.h"
#include "map/qcolor_conversion.h"
#include "map/rounding.h"
#include "map/text_metrics.h"
#include "map/text_stamp.h"

namespace velmora {
namespace {

// Where the values stand: each centred in its cell by its measured size, the
// cells dividing the map area evenly, in real numbers.
class CellPlacement {
 public:
  CellPlacement(QSize picture, const CellValueDrawing& cells)
      : cells_(cells),
        mapWidth_(picture.width() - cells.margins.left),
        mapHeight_(picture.height() - cells.margins.top) {}

  // The top-left corner of the line box of a text of the size in the cell.
  QPoint Of(int column, int row, int width, int height) const {
    return {cells_.margins.left + CentredInPart(column, mapWidth_, cells_.cellColumns, width),
            cells_.margins.top + CentredInPart(row, mapHeight_, cells_.cellRows, height)};
  }

  // Half a cell width: round(map width / cell columns / 2).
  int HalfCell() const {
    return static_cast<int>(RoundHalfEven(mapWidth_, 2 * std::int64_t{cells_.cellColumns}));
  }

 private:
  const CellValueDrawing& cells_;
  const int mapWidth_;
  const int mapHeight_;
};

// A text measured, and drawn in one of the two ways.
template <typename Drawn>
struct LaidOutText {
  Drawn drawn;
  int width = 0;
  int height = 0;
};

// Counts repeat across a map: each distinct text is measured and made ready
// to draw once, not once per cell.
template <typename Drawn>
class LaidOutTexts {
 public:
  LaidOutTexts(const QFont& font, const QColor& color) : font_(font), color_(color) {}

  const LaidOutText<Drawn>& Of(const std::string& count) {
    auto entry = texts_.find(count);
    if (entry == texts_.end()) {
      const QString text = QString::fromStdString(count);
      entry =
          texts_
              .try_emplace(count, Ready(text), TextWidthOf(font_, text), TextHeightOf(font_, text))
              .first;
    }
    return entry->second;
  }

 private:
  Drawn Ready(const QString& text) const {
    if constexpr (std::is_same_v<Drawn, TextStamp>) {
      return TextStamp(font_, color_, text);
    } else {
      QStaticText laidOut(text);
      laidOut.setTextFormat(Qt::PlainText);
      laidOut.prepare(QTransform(), font_);
      return laidOut;
    }
  }

  const QFont font_;
  const QColor color_;
  std::unordered_map<std::string, LaidOutText<Drawn>> texts_;
};

// Calls `value(column, row, count)` for every count other than "0" of a cell
// the drawing shows, column by column and in each column row by row
// (`columnsFirst`), or row by row.
template <typename Value>
void ForEachValue(const TGrids& grids, const CellValueDrawing& cells, bool columnsFirst,
                  Value value) {
  const int rows = std::min(cells.cellRows, static_cast<int>(grids.size()));
  const auto cell = [&](int i, int j) {
    if (static_cast<size_t>(i) >= grids[j].size()) return;
    const std::string& count = grids[j][i].Count;
    if (count != "0" && (!cells.shows || cells.shows(j, i))) value(i, j, count);
  };
  if (columnsFirst) {
    for (int i = 0; i < cells.cellColumns; ++i) {
      for (int j = 0; j < rows; ++j) cell(i, j);
    }
  } else {
    for (int j = 0; j < rows; ++j) {
      for (int i = 0; i < cells.cellColumns; ++i) cell(i, j);
    }
  }
}

// The rows of the picture are drawn one after the other, each from left to
// right along its memory, by the values of a band of rows around it: a large
// map is far too big for the cache, and value by value every row of a value
// would be fetched from memory on its own.
constexpr int kBandRows = 8;
// Fewer values are drawn on one core: a second thread costs more than it saves.
constexpr size_t kValuesForSecondCore = 4096;

// A value where it is laid, and the rows of the picture it inks.
struct PlacedValue {
  const TextStamp* stamp;
  int x;
  int y;
  int column;
  int top;
  int bottom;
};

// Draws each band of the values (bands[band] draws band `band`): those after
// the band that holds half of the values on a second core, since bands share
// no pixel; a few values all on this one.
template <typename DrawBand>
void DrawBands(const std::vector<std::vector<PlacedValue>>& bands, DrawBand drawBand) {
  const auto drawRange = [&](size_t first, size_t last) {
    for (size_t band = first; band < last; ++band) drawBand(band);
  };
  size_t values = 0;
  for (const auto& band : bands) values += band.size();
  if (values < kValuesForSecondCore) return drawRange(0, bands.size());
  size_t half = 0;
  for (size_t passed = 0; half < bands.size() && passed < values / 2; ++half) {
    passed += bands[half].size();
  }
  // The future's end waits for the second half even when the first throws.
  std::future<void> second = std::async(std::launch::async, drawRange, half, bands.size());
  drawRange(0, half);
  second.get();
}

// The values laid from stamps. They are read and placed row by row, along the
// cell list's memory, each into the bands of the picture it inks.
void LayValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells,
               const CellPlacement& placement, const QFont& font, const QColor& color) {
  // The map picture is RGB32; a picture of another format becomes one.
  if (picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
  LaidOutTexts<TextStamp> texts(font, color);
  const QRect whole = picture.rect();
  std::vector<std::vector<PlacedValue>> bands((picture.height() + kBandRows - 1) / kBandRows);
  ForEachValue(grids, cells, false, [&](int i, int j, const std::string& count) {
    const LaidOutText<TextStamp>& text = texts.Of(count);
    const QPoint at = placement.Of(i, j, text.width, text.height);
    const QRect ink = text.drawn.Ink().translated(at) & whole;
    if (ink.isEmpty()) return;
    for (int band = ink.top() / kBandRows; band <= ink.bottom() / kBandRows; ++band) {
      bands[band].push_back({&text.drawn, at.x(), at.y(), i, ink.top(), ink.bottom()});
    }
  });
  // The values are drawn column by column, and in each column row by row:
  // where values overprint each other, the later one lies on top. Row by row,
  // each pixel still meets its values in that order.
  const PictureRows pixels(picture);
  DrawBands(bands, [&](size_t band) {
    std::ranges::stable_sort(bands[band], {}, &PlacedValue::column);
    const int top = static_cast<int>(band) * kBandRows;
    for (int row = top; row < std::min(top + kBandRows, whole.height()); ++row) {
      for (const PlacedValue& value : bands[band]) {
        if (row >= value.top && row <= value.bottom) {
          value.stamp->LayOverRow(pixels, value.x, value.y, row);
        }
      }
    }
  });
}

// The values drawn by the painter, column by column and in each column row by
// row: where values overprint each other, the later one lies on top.
void PaintValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells,
                 const CellPlacement& placement, const QFont& font, const QColor& color) {
  LaidOutTexts<QStaticText> texts(font, color);
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(color);
  ForEachValue(grids, cells, true, [&](int i, int j, const std::string& count) {
    const LaidOutText<QStaticText>& text = texts.Of(count);
    painter.drawStaticText(placement.Of(i, j, text.width, text.height), text.drawn);
  });
}

}  // namespace

void DrawCellValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells) {
  if (picture.isNull() || cells.cellRows <= 0 || cells.cellColumns <= 0) return;
  const CellPlacement placement(picture.size(), cells);
  const QFont font = MapFont(FontPointsOf(cells.fontSizeText, placement.HalfCell()));
  const QColor color = ToQColor(cells.color);
  if (TextStamp::GivesThePaintersPixels(font, color)) {
    LayValues(picture, grids, cells, placement, font, color);
  } else {
    PaintValues(picture, grids, cells, placement, font, color);
  }
}

void DrawCellValues(QPainter& painter, QSize size, const TGrids& grids,
                    const CellValueDrawing& cells) {
  if (cells.cellRows <= 0 || cells.cellColumns <= 0) return;
  const CellPlacement placement(size, cells);
  const QFont font = MapFont(FontPointsOf(cells.fontSizeText, placement.HalfCell()));
  painter.setFont(font);
  painter.setPen(ToQColor(cells.color));
  std::unordered_map<std::string, int> widths;
  const int height = TextHeightOf(font, "0");
  ForEachValue(grids, cells, true, [&](int i, int j, const std::string& count) {
    const QString text = QString::fromStdString(count);
    const auto width = widths.try_emplace(count, 0);
    if (width.second) width.first->second = TextWidthOf(font, text);
    const QPoint at = placement.Of(i, j, width.first->second, height);
    DrawTextAt(painter, at.x(), at.y(), text);
  });
}

}  // namespace velmora
