#include "grid/cell_list.h"

#include <algorithm>
#include <bit>

#include "grid/subdivision.h"

namespace velmora {
namespace {

// The corner and size fields of the map; empty and zero without an extent.
void SetExtent(const std::optional<Extent>& extent, MapState& state) {
  if (!extent) {
    state.NwSheet = state.SeSheet = "";
    state.NwRow = state.SeRow = state.NwColumnIndex = state.SeColumnIndex = 0;
    state.SheetRows = state.SheetColumns = 0;
    return;
  }
  const Sheet northWest = extent->NorthWest();
  const Sheet southEast = extent->SouthEast();
  state.NwSheet = NormaliseSheetNumber(northWest.Number());
  state.SeSheet = NormaliseSheetNumber(southEast.Number());
  state.NwRow = northWest.Row();
  state.SeRow = southEast.Row();
  state.NwColumnIndex = northWest.ColumnIndex();
  state.SeColumnIndex = southEast.ColumnIndex();
  state.SheetRows = extent->SheetRows();
  state.SheetColumns = extent->SheetColumns();
}

}  // namespace

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
  SetExtent(inputs.extent, state);

  const GridTypeInfo& type = GridTypeOfCellsPerSheet(state.CellsPerSheet);
  state.CellRows = type.division.rows * state.SheetRows;
  state.CellColumns = type.division.columns * state.SheetColumns;
  state.BackgroundImagePath = inputs.backgroundImagePath;

  const Sheet northWest(state.NwRow, state.NwColumnIndex);
  state.Grids.assign(state.CellRows, std::vector<TGrid>(state.CellColumns));
  for (int i = 0; i < state.CellRows; ++i) {
    for (int j = 0; j < state.CellColumns; ++j) {
      TGrid& cell = state.Grids[i][j];
      cell.Code = CellCodeAt(j + 1, i + 1, northWest, type);
      cell.Count = "0";
    }
  }
}

std::string CellCodeAt(int column, int row, Sheet northWest, const GridTypeInfo& type) {
  if (column < 1 || row < 1) return {};
  const SheetDivision division = type.division;
  const int kappa = (column - 1) % division.columns;
  const int rho = (row - 1) % division.rows;
  const long long columnIndex = (column - 1) / division.columns + 0LL + northWest.ColumnIndex();
  const long long sheetRow = (row - 1) / division.rows + 0LL + northWest.Row();
  // Sheet numbers end with row 99 and column 99 (column index 199).
  if (columnIndex > 199 || sheetRow > 99) return {};

  std::string code = FormatSheetNumber(static_cast<int>(sheetRow), static_cast<int>(columnIndex));
  switch (type.digits) {
    case CellDigits::None:
      break;
    case CellDigits::Quadrants:
      code += '/';
      // Each level of the progressive division halves the sheet once more.
      AppendQuadrantDigits(code, rho, kappa,
                           std::countr_zero(static_cast<unsigned>(division.rows)));
      break;
    case CellDigits::MinuteField:
      code += '/';
      AppendMinuteFieldDigits(code, rho, kappa);
      break;
  }
  return code;
}

std::vector<std::string> SheetsOf(const MapState& state) {
  const Sheet northWest(state.NwRow, state.NwColumnIndex);
  std::vector<std::string> sheets;
  sheets.reserve(static_cast<size_t>(state.SheetRows) * std::max(0, state.SheetColumns));
  for (int row = 1; row <= state.SheetRows; ++row) {
    for (int column = 1; column <= state.SheetColumns; ++column) {
      sheets.push_back(CellCodeAt(column, row, northWest, kMesstischblatt));
    }
  }
  return sheets;
}

}  // namespace velmora
