#include "map/cell_values.h"

#include <QPainter>
#include <QStaticText>
#include <unordered_map>

#include "map/color.h"
#include "map/map_font.h"
#include "map/rounding.h"
#include "map/text_metrics.h"

namespace velmora {

void DrawCellValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells) {
  if (picture.isNull() || cells.cellRows <= 0 || cells.cellColumns <= 0) return;
  const double mapWidth = picture.width() - cells.margins.left;
  const double mapHeight = picture.height() - cells.margins.top;
  const double cellWidth = mapWidth / cells.cellColumns;
  const double cellHeight = mapHeight / cells.cellRows;

  const QFont font = MapFont(FontPointsOf(cells.fontSizeText, RoundHalfEven(cellWidth / 2)));
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(ToQColor(cells.color));
  // Counts repeat across a map; laying each distinct text out once saves
  // about a third of the drawing time of a large map.
  std::unordered_map<std::string, QStaticText> laidOut;

  for (int i = 0; i < cells.cellColumns; ++i) {
    for (int j = 0; j < cells.cellRows; ++j) {
      if (static_cast<size_t>(j) >= grids.size() || static_cast<size_t>(i) >= grids[j].size()) {
        continue;
      }
      const std::string& count = grids[j][i].Count;
      if (count == "0") continue;
      const QString text = QString::fromStdString(count);
      const int textWidth = TextWidthOf(font, text);
      const int textHeight = TextHeightOf(font, text);
      const int x =
          cells.margins.left + RoundHalfEven(i * cellWidth + cellWidth / 2 - textWidth / 2.0);
      const int y =
          cells.margins.top + RoundHalfEven(j * cellHeight + cellHeight / 2 - textHeight / 2.0);
      auto [entry, added] = laidOut.try_emplace(count, text);
      if (added) {
        entry->second.setTextFormat(Qt::PlainText);
        entry->second.prepare(QTransform(), font);
      }
      painter.drawStaticText(x, y, entry->second);
    }
  }
}

}  // namespace velmora
