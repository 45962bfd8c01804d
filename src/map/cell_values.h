#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <functional>
#include <string>

#include "grid/cell_list.h"
#include "map/background.h"
#include "platform/tcolor.h"

namespace velmora {

// What the cell values of a count run are drawn from: the picture's margins,
// the cell list's size, and the values' style.
struct CellValueDrawing {
  Margins margins;
  int cellRows = 0;
  int cellColumns = 0;
  std::string fontSizeText;  // the values' size in points, as typed
  TColor color = clBlack;
  // Whether the value of the cell in (row, column) is drawn; every value when
  // empty.
  std::function<bool(int, int)> shows{};
};

// Writes every count other than "0" of `grids` ([cell row][cell column]) into
// the picture, centred in its cell; the cells divide the map area evenly, in
// real numbers. A text that is not a size gives half a cell width in points.
// Nothing is clipped to the cell. Does nothing on a null picture or a list
// without cells; cells beyond `grids` are skipped.
void DrawCellValues(QImage& picture, const TGrids& grids, const CellValueDrawing& cells);

// The same onto any painter whose coordinates are those of a map picture of
// `size`, each value as text (on a PDF page, text a reader can copy).
void DrawCellValues(QPainter& painter, QSize size, const TGrids& grids,
                    const CellValueDrawing& cells);

}  // namespace velmora
