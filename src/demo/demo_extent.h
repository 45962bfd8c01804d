#pragma once

#include "grid/extent.h"

namespace velmora::demo {

// Degrees of the sheet grid: sheet row r spans latitude 56.0 - 0.1 r down to
// 56.0 - 0.1 (r + 1); column c (column index - 100) spans longitude
// 35/6 + (c - 1)/6 to 35/6 + c/6. WGS84 lies only about 100 m from the DHDN
// frame of the grid, close enough for demo points.
inline double SheetNorth(int row) { return 56.0 - 0.1 * row; }
inline double SheetWest(int columnIndex) { return 35.0 / 6 + (columnIndex - 101) / 6.0; }
constexpr double kSheetHeight = 0.1;
constexpr double kSheetWidth = 1.0 / 6;

// The edges of an extent in degrees of the sheet grid.
inline double NorthEdge(const Extent& extent) { return SheetNorth(extent.NorthWest().Row()); }
inline double SouthEdge(const Extent& extent) { return SheetNorth(extent.SouthEast().Row() + 1); }
inline double WestEdge(const Extent& extent) { return SheetWest(extent.NorthWest().ColumnIndex()); }
inline double EastEdge(const Extent& extent) {
  return SheetWest(extent.SouthEast().ColumnIndex() + 1);
}

}  // namespace velmora::demo
