#include "grid/cell_geometry.h"

#include <gtest/gtest.h>

#include "grid/grid_types.h"

namespace velmora {
namespace {

MapState Map(int gridType, const char* northWest, const char* southEast) {
  MapState state;
  BuildCellList({gridType, 0, Extent::Read(northWest, southEast), ""}, state);
  return state;
}

TEST(CellFrameBounds, SheetsSpanSixMinutesByTenFromTheGridsOrigin) {
  const MapState sheets = Map(0, "6508", "6609");
  const FrameBounds first = CellFrameBounds(sheets, 0, 0);  // 6508
  EXPECT_DOUBLE_EQ(first.north, 49.5);
  EXPECT_DOUBLE_EQ(first.south, 49.4);
  EXPECT_DOUBLE_EQ(first.west, 7.0);
  EXPECT_DOUBLE_EQ(first.east, 7.0 + 1.0 / 6);
  const FrameBounds last = CellFrameBounds(sheets, 1, 1);  // 6609
  EXPECT_DOUBLE_EQ(last.north, 49.4);
  EXPECT_DOUBLE_EQ(last.west, 7.0 + 1.0 / 6);

  // W5999 lies directly west of 5900, whose western edge is 5°40'.
  const MapState west = Map(0, "W5999", "5900");
  EXPECT_DOUBLE_EQ(CellFrameBounds(west, 0, 0).east, 35.0 / 6 - 1.0 / 6);
  EXPECT_DOUBLE_EQ(CellFrameBounds(west, 0, 1).west, 35.0 / 6 - 1.0 / 6);
  EXPECT_DOUBLE_EQ(CellFrameBounds(west, 0, 0).west, 5.5);
}

TEST(CellFrameBounds, CellsDivideTheirSheetAndNeighboursShareTheirEdges) {
  for (const GridTypeInfo& type : kGridTypes) {
    SCOPED_TRACE(type.name);
    const MapState map = Map(type.item, "6508", "6609");
    const double cellHeight = 0.1 / type.division.rows;
    const double cellWidth = 1.0 / 6 / type.division.columns;
    for (int row = 0; row < map.CellRows; ++row) {
      for (int column = 0; column < map.CellColumns; ++column) {
        const FrameBounds cell = CellFrameBounds(map, row, column);
        EXPECT_NEAR(cell.north - cell.south, cellHeight, 1e-12);
        EXPECT_NEAR(cell.east - cell.west, cellWidth, 1e-12);
        if (column + 1 < map.CellColumns) {
          EXPECT_NEAR(cell.east, CellFrameBounds(map, row, column + 1).west, 1e-12);
        }
        if (row + 1 < map.CellRows) {
          EXPECT_NEAR(cell.south, CellFrameBounds(map, row + 1, column).north, 1e-12);
        }
      }
    }
    const FrameBounds last = CellFrameBounds(map, map.CellRows - 1, map.CellColumns - 1);
    EXPECT_NEAR(last.south, 49.3, 1e-12) << "the map ends with the south-east sheet";
    EXPECT_NEAR(last.east, 7.0 + 2.0 / 6, 1e-12);
  }
}

}  // namespace
}  // namespace velmora
