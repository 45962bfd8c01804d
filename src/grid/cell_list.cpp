#include "grid/cell_list.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "grid/grid_types.h"
#include "grid/sheet.h"
#include "grid/subdivision.h"

namespace velmora {

void BuildCellList(const CellListInputs& inputs, MapState& state) {
  if (inputs.gridTypeItem) {
    if (const GridTypeInfo* type = GridTypeByItem(*inputs.gridTypeItem)) {
      state.CellsPerSheet = type->cellsPerSheet;
    }
  }
  if (inputs.gridSystemItem) {
    if (const GridSystemInfo* system = GridSystemByItem(*inputs.gridSystemItem)) {
      state.GridSystemCode = system->code;
    }
  }
  state.NwSheet = NormaliseSheetNumber(inputs.nwSheet);
  state.SeSheet = NormaliseSheetNumber(inputs.seSheet);

  const std::optional<Sheet> nw = Sheet::Read(inputs.nwSheet);
  const std::optional<Sheet> se = Sheet::Read(inputs.seSheet);
  state.NwRow = nw ? nw->Row() : 0;
  state.SeRow = se ? se->Row() : 0;
  state.NwColumnIndex = nw ? nw->ColumnIndex() : 0;
  state.SeColumnIndex = se ? se->ColumnIndex() : 0;
  const bool hasSheets = nw && se;
  state.SheetRows = hasSheets ? std::max(0, state.SeRow - state.NwRow + 1) : 0;
  state.SheetColumns = hasSheets ? std::max(0, state.SeColumnIndex - state.NwColumnIndex + 1) : 0;
  if (state.SheetRows == 0 || state.SheetColumns == 0) state.SheetRows = state.SheetColumns = 0;

  const SheetDivision division = DivisionOf(state.CellsPerSheet);
  state.CellRows = division.rows * state.SheetRows;
  state.CellColumns = division.columns * state.SheetColumns;
  state.BackgroundImagePath = inputs.backgroundImagePath;

  state.Grids.assign(state.CellRows, std::vector<TGrid>(state.CellColumns));
  for (int i = 0; i < state.CellRows; ++i) {
    for (int j = 0; j < state.CellColumns; ++j) {
      TGrid& cell = state.Grids[i][j];
      cell.Code = CellCodeAt(j + 1, i + 1, state.NwSheet, state.SeSheet, state.CellsPerSheet);
      cell.Count = "0";
    }
  }
}

std::string CellCodeAt(int column, int row, std::string_view northWest, std::string_view southEast,
                       int cellsPerSheet) {
  (void)southEast;  // part of the interface; the result depends on the north-west sheet alone
  const GridTypeInfo* type = GridTypeByCellsPerSheet(cellsPerSheet);
  if (!type || column < 1 || row < 1) return {};
  // A normalised number ("E6508") reads like the plain one.
  if (northWest.size() == 5 && northWest[0] == 'E') northWest.remove_prefix(1);
  const std::optional<Sheet> nw = Sheet::Read(northWest);
  if (!nw) return {};

  const SheetDivision division = type->division;
  const int kappa = (column - 1) % division.columns;
  const int rho = (row - 1) % division.rows;
  const long long columnIndex = (column - 1) / division.columns + 0LL + nw->ColumnIndex();
  const long long sheetRow = (row - 1) / division.rows + 0LL + nw->Row();
  if (columnIndex > std::numeric_limits<int>::max() || sheetRow > std::numeric_limits<int>::max()) {
    return {};
  }

  std::string code = FormatSheetNumber(static_cast<int>(sheetRow), static_cast<int>(columnIndex));
  if (cellsPerSheet == 1) return code;
  code += '/';
  if (cellsPerSheet == 60) {
    AppendMinuteFieldDigits(code, rho, kappa);
  } else {
    // Each level of the progressive division halves the sheet once more.
    AppendQuadrantDigits(code, rho, kappa, std::countr_zero(static_cast<unsigned>(division.rows)));
  }
  return code;
}

std::vector<std::string> SheetsOf(const MapState& state) {
  std::vector<std::string> sheets;
  sheets.reserve(static_cast<size_t>(state.SheetRows) * std::max(0, state.SheetColumns));
  for (int row = 1; row <= state.SheetRows; ++row) {
    for (int column = 1; column <= state.SheetColumns; ++column) {
      sheets.push_back(CellCodeAt(column, row, state.NwSheet, state.SeSheet, 1));
    }
  }
  return sheets;
}

}  // namespace velmora
