#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <string>

#include "map/background.h"
#include "platform/tcolor.h"

namespace velmora {

// What the grid of a map picture is drawn from: the picture's margins, the
// extent's sheets and its north-west sheet, and the margin labels' style.
struct GridDrawing {
  Margins margins;
  int sheetColumns = 0;
  int sheetRows = 0;
  int nwRow = 0;
  int nwColumnIndex = 0;     // 100 + column, or the two digits of a west sheet
  std::string fontSizeText;  // the margin labels' size in points, as typed
  TColor labelColor = clBlack;
};

// The top margin's label of the sheet column with this column index: its two
// column digits (99 gives "99", 101 gives "01").
std::string ColumnLabel(int columnIndex);

// The left margin's label of a sheet row: two digits (9 gives "09").
std::string RowLabel(int row);

// Draws onto the picture: a black frame 2 pixels wide around it, black lines
// below and right of the margins, a grey (160, 160, 164) line at every sheet
// boundary through the margins, and the sheet column and row labels in
// "Tahoma", centred in the margins over their sheets. Positions are computed in
// real numbers and rounded half to even; a line leaves out its end point. Does
// nothing on a null picture.
void DrawGrid(QImage& picture, const GridDrawing& grid);

// The same onto any painter (a PDF page, for instance) whose coordinates are
// those of a map picture of `size`.
void DrawGrid(QPainter& painter, QSize size, const GridDrawing& grid);

// The grid's lines alone: the frame, the margins' lines and the sheet lines,
// all opaque, so drawing them again over fills of the map's cells puts them
// back on top as they were.
void DrawGridLines(QPainter& painter, QSize size, const GridDrawing& grid);

}  // namespace velmora
