#include "map/cell_values.h"

#include <QPainter>
#include <QStaticText>
#include <cstdint>
#include <unordered_map>

#include "map/color.h"
#include "map/map_font.h"
#include "map/rounding.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

struct LaidOutText {
  QStaticText text;
  int width = 0;
  int height = 0;
};

// Counts repeat across a map: measuring and laying out each distinct text
// once, not once per cell, draws a large map in less than half the time.
class LaidOutTexts {
 public:
  explicit LaidOutTexts(const QFont& font) : font_(font) {}

  const LaidOutText& Of(const std::string& count) {
    auto [entry, added] = texts_.try_emplace(count);
    if (added) {
      const QString text = QString::fromStdString(count);
      entry->second = {QStaticText(text), TextWidthOf(font_, text), TextHeightOf(font_, text)};
      entry->second.text.setTextFormat(Qt::PlainText);
      entry->second.text.prepare(QTransform(), font_);
    }
    return entry->second;
  }

 private:
  const QFont font_;
  std::unordered_map<std::string, LaidOutText> texts_;
};

}  // namespace

void DrawCellValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells) {
  if (picture.isNull() || cells.cellRows <= 0 || cells.cellColumns <= 0) return;
  const int mapWidth = picture.width() - cells.margins.left;
  const int mapHeight = picture.height() - cells.margins.top;
  // Half a cell width: round(map width / cell columns / 2).
  const int halfCell =
      static_cast<int>(RoundHalfEven(mapWidth, 2 * std::int64_t{cells.cellColumns}));
  const QFont font = MapFont(FontPointsOf(cells.fontSizeText, halfCell));
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(ToQColor(cells.color));
  LaidOutTexts texts(font);

  for (int i = 0; i < cells.cellColumns; ++i) {
    for (int j = 0; j < cells.cellRows; ++j) {
      if (static_cast<size_t>(j) >= grids.size() || static_cast<size_t>(i) >= grids[j].size()) {
        continue;
      }
      const std::string& count = grids[j][i].Count;
      if (count == "0") continue;
      const LaidOutText& text = texts.Of(count);
      const int x = cells.margins.left + CentredInPart(i, mapWidth, cells.cellColumns, text.width);
      const int y = cells.margins.top + CentredInPart(j, mapHeight, cells.cellRows, text.height);
      painter.drawStaticText(x, y, text.text);
    }
  }
}

}  // namespace velmora
