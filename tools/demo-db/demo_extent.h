#pragma once

#include <string>

#include "grid/sheet.h"

namespace velmora::demo {

// Degrees of the sheet grid: sheet row r spans latitude 56.0 - 0.1 r down to
// 56.0 - 0.1 (r + 1); column c (column index - 100) spans longitude
// 35/6 + (c - 1)/6 to 35/6 + c/6. WGS84 lies only about 100 m from the DHDN
// frame of the grid, close enough for demo points.
inline double SheetNorth(int row) { return 56.0 - 0.1 * row; }
inline double SheetWest(int columnIndex) { return 35.0 / 6 + (columnIndex - 101) / 6.0; }
constexpr double kSheetHeight = 0.1;
constexpr double kSheetWidth = 1.0 / 6;

// The rectangle of sheets the demo's points gather in.
struct DemoExtent {
  Sheet northWest;
  Sheet southEast;

  int Rows() const { return southEast.Row() - northWest.Row() + 1; }
  int Columns() const { return southEast.ColumnIndex() - northWest.ColumnIndex() + 1; }
  double North() const { return SheetNorth(northWest.Row()); }
  double South() const { return SheetNorth(southEast.Row() + 1); }
  double West() const { return SheetWest(northWest.ColumnIndex()); }
  double East() const { return SheetWest(southEast.ColumnIndex() + 1); }
};

}  // namespace velmora::demo
