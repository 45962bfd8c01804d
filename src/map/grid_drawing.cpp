#include "map/grid_drawing.h"

#include <QPainter>
#include <QPen>
#include <cstdio>

#include "map/map_font.h"
#include "map/qcolor_conversion.h"
#include "map/rounding.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

const QColor kSheetLineColor(160, 160, 164);

// A one-pixel line along a row or a column from `from` up to, but without,
// `to`: the pixels a line drawn on the display gets.
void DrawAxisLine(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
  const QRect pixels = from.x() == to.x() ? QRect(from.x(), from.y(), 1, to.y() - from.y())
                                          : QRect(from.x(), from.y(), to.x() - from.x(), 1);
  painter.fillRect(pixels, color);
}

std::string FormatMinimumDigits(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%.*d", digits, value);
  return text;
}

}  // namespace

std::string ColumnLabel(int columnIndex) {
  const std::string digits = FormatMinimumDigits(columnIndex, 2);
  return columnIndex < 100 ? digits : digits.substr(1, 2);
}

std::string RowLabel(int row) { return FormatMinimumDigits(row, 3).substr(1, 2); }

void DrawGridLines(QPainter& painter, QSize size, const GridDrawing& grid) {
  const int width = size.width();
  const int height = size.height();
  const Margins margins = grid.margins;
  painter.setPen(QPen(Qt::black, 2));
  painter.drawPolyline(QPolygon(
      {QPoint(0, 0), QPoint(width, 0), QPoint(width, height), QPoint(0, height), QPoint(0, 0)}));
  DrawAxisLine(painter, {margins.left, margins.top}, {margins.left, height}, Qt::black);
  DrawAxisLine(painter, {margins.left, margins.top}, {width, margins.top}, Qt::black);
  if (grid.sheetColumns <= 0 || grid.sheetRows <= 0) return;

  const int mapWidth = width - margins.left;
  const int mapHeight = height - margins.top;
  for (int i = 1; i <= grid.sheetColumns; ++i) {
    const int x = margins.left + PartStart(i, mapWidth, grid.sheetColumns);
    DrawAxisLine(painter, {x, 0}, {x, height}, kSheetLineColor);
  }
  for (int j = 1; j <= grid.sheetRows; ++j) {
    const int y = margins.top + PartStart(j, mapHeight, grid.sheetRows);
    DrawAxisLine(painter, {0, y}, {width, y}, kSheetLineColor);
  }
}

void DrawGrid(QPainter& painter, QSize size, const GridDrawing& grid) {
  DrawGridLines(painter, size, grid);
  if (grid.sheetColumns <= 0 || grid.sheetRows <= 0) return;
  const Margins margins = grid.margins;
  const int mapWidth = size.width() - margins.left;
  const int mapHeight = size.height() - margins.top;
  const QFont font = MapFont(FontPointsOf(grid.fontSizeText, RoundHalfEven(margins.left / 2.0)));
  painter.setFont(font);
  painter.setPen(ToQColor(grid.labelColor));
  if (margins.top > 0) {
    const int textHeight = TextHeightOf(font, "0");
    const int y = RoundHalfEven(margins.top / 2.0 - textHeight / 2.0);
    for (int a = 0; a < grid.sheetColumns; ++a) {
      const QString label = QString::fromStdString(ColumnLabel(grid.nwColumnIndex + a));
      const int textWidth = TextWidthOf(font, label);
      const int x = margins.left + CentredInPart(a, mapWidth, grid.sheetColumns, textWidth);
      DrawTextAt(painter, x, y, label);
    }
  }
  if (margins.left > 0) {
    const int x = RoundHalfEven(margins.left / 2.0 - TextWidthOf(font, "88") / 2.0);
    for (int a = 0; a < grid.sheetRows; ++a) {
      const QString label = QString::fromStdString(RowLabel(grid.nwRow + a));
      const int textHeight = TextHeightOf(font, label);
      const int y = margins.top + CentredInPart(a, mapHeight, grid.sheetRows, textHeight);
      DrawTextAt(painter, x, y, label);
    }
  }
}

void DrawGrid(QImage& picture, const GridDrawing& grid) {
  if (picture.isNull()) return;
  QPainter painter(&picture);
  DrawGrid(painter, picture.size(), grid);
}

}  // namespace velmora
