#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/extent.h"
#include "grid/grid_types.h"

namespace velmora {

// One map cell: its code and its count as text ("0" until a count run).
struct TGrid {
  std::string Code;
  std::string Count;
};

// [cell row][cell column]; row 0 is the northernmost, column 0 the westernmost.
using TGrids = std::vector<std::vector<TGrid>>;

// The description of the current map, as the wizard keeps it.
struct MapState {
  int CellsPerSheet = 1;
  std::string GridSystemCode;
  std::string NwSheet;  // normalised
  std::string SeSheet;  // normalised
  int NwRow = 0;
  int SeRow = 0;
  int NwColumnIndex = 0;
  int SeColumnIndex = 0;
  int SheetRows = 2;
  int SheetColumns = 2;
  int CellRows = 2;
  int CellColumns = 2;
  TGrids Grids;
  std::string BackgroundImagePath;
};

// What the settings page holds: the selected grid type and grid system items
// (nothing when no item is selected), the extent of its two corner sheets
// (nothing when they make none) and the image path.
struct CellListInputs {
  std::optional<int> gridTypeItem;
  std::optional<int> gridSystemItem;
  std::optional<Extent> extent;
  std::string backgroundImagePath;
};

// Sets every map state field from the inputs and rebuilds the cell list, with
// every count "0". A field whose item is not selected keeps its value. No
// extent gives empty sheet numbers, zero sheet and cell rows and columns and an
// empty list.
void BuildCellList(const CellListInputs& inputs, MapState& state);

// The code of the cell in 1-based cell column `column` and cell row `row` of a
// map of the grid type whose north-west sheet is given. Empty for a position
// before the first cell or beyond the range of sheet numbers.
std::string CellCodeAt(int column, int row, Sheet northWest, const GridTypeInfo& type);

// The sheet numbers of the map's extent, row by row from the north and west to
// east within a row.
std::vector<std::string> SheetsOf(const MapState& state);

}  // namespace velmora
