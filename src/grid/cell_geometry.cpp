#include "grid/cell_geometry.h"

#include "grid/grid_types.h"

namespace velmora {
namespace {

// The inverses of the conversion's row and column values: row value =
// (55.1 - latitude) / 0.1 + 9, column value = (longitude - 35/6) · 6 + 1.
double LatitudeOfRowValue(double rowValue) { return 55.1 - (rowValue - 9) * 0.1; }
double LongitudeOfColumnValue(double columnValue) { return 35.0 / 6.0 + (columnValue - 1) / 6.0; }

}  // namespace

FrameBounds SheetCellFrameBounds(int sheetRow, int sheetColumn, SheetDivision division, int cellRow,
                                 int cellColumn) {
  const double northRowValue = sheetRow + static_cast<double>(cellRow) / division.rows;
  const double westColumnValue = sheetColumn + static_cast<double>(cellColumn) / division.columns;
  return {LatitudeOfRowValue(northRowValue),
          LatitudeOfRowValue(northRowValue + 1.0 / division.rows),
          LongitudeOfColumnValue(westColumnValue),
          LongitudeOfColumnValue(westColumnValue + 1.0 / division.columns)};
}

FrameBounds CellFrameBounds(const MapState& map, int row, int column) {
  const SheetDivision division = GridTypeOfCellsPerSheet(map.CellsPerSheet).division;
  return SheetCellFrameBounds(map.NwRow + row / division.rows,
                              map.NwColumnIndex - 100 + column / division.columns, division,
                              row % division.rows, column % division.columns);
}

}  // namespace velmora
