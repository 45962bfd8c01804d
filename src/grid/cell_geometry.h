#pragma once

#include "grid/cell_list.h"
#include "grid/grid_types.h"

namespace velmora {

// A cell's extent in the grid frame (DHDN geographic degrees): the latitudes
// of its northern and southern edge, the longitudes of its western and
// eastern edge.
struct FrameBounds {
  double north;
  double south;
  double west;
  double east;
};

// The frame bounds of the cell in 0-based cell row `row` (from the north) and
// cell column `column` (from the west) of the map: the sheet's edges from the
// grid's origin (sheet row r spans 56° - r·6' southwards, sheet column c
// begins at 5°50' + (c - 1)·10'), divided as the map's grid type divides a
// sheet. These are the bounds within which CoordinateToCellCode's arithmetic
// gives the cell's code.
FrameBounds CellFrameBounds(const MapState& map, int row, int column);

// The frame bounds of the cell in 0-based cell row `cellRow` and cell column
// `cellColumn` of the sheet in sheet row `sheetRow` and signed sheet column
// `sheetColumn` (negative west of 5°40' E), divided as `division` says.
FrameBounds SheetCellFrameBounds(int sheetRow, int sheetColumn, SheetDivision division, int cellRow,
                                 int cellColumn);

}  // namespace velmora
