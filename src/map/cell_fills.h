#pragma once

#include <QColor>
#include <QPainter>
#include <QSize>
#include <vector>

#include "grid/cell_list.h"
#include "map/background.h"
#include "map/color_classes.h"

namespace velmora {

// What the class fills of a map's cells are drawn from: the picture's
// margins, the cell list's size, the classes with a colour each, and how much
// of the picture beneath the fills cover, in percent.
struct CellFillDrawing {
  Margins margins;
  int cellRows = 0;
  int cellColumns = 0;
  ColorClasses classes;
  std::vector<QColor> colors;  // one per class
  int opacity = 100;
};

// The colour a class's fill gives over white, as its legend swatch shows it.
QColor FillOverWhite(const QColor& color, int opacity);

// The colour a value is written in on a class's fill: `value` where it reads
// well (a contrast of at least 4.5 : 1 by WCAG 2.x) against the fill laid over
// a light grey, the colour of a typical background; else whichever of it,
// white and black reads best there.
QColor ValueColorOn(const QColor& fill, int opacity, const QColor& value);

// Fills every cell whose count lies in a class with the class's colour, laid
// over what the painter's picture of `size` shows at the opacity. The cells
// divide the map area evenly in real numbers, each from its rounded first
// pixel up to the next cell's, as the values are centred in them. Cells of no
// class stay as they are.
void DrawCellFills(QPainter& painter, QSize size, const TGrids& grids,
                   const CellFillDrawing& fills);

}  // namespace velmora
