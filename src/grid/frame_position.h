#pragma once

#include <optional>

namespace velmora {

// Where a point of the grid frame (DHDN geographic degrees) lies: its sheet
// row and signed sheet column (negative west of 5°40' E), and its position
// inside the sheet as fractions in [0, 1) from the sheet's north-west corner.
struct FramePosition {
  int row;
  int column;
  double rowFraction;
  double columnFraction;

  // The 0-based cell row (from the north) and cell column (from the west) of
  // the sheet divided into `parts` along that side.
  int CellRow(int parts) const { return static_cast<int>(rowFraction * parts); }
  int CellColumn(int parts) const { return static_cast<int>(columnFraction * parts); }
};

// The position of the point; nothing outside sheet rows firstRow to 99 and
// sheet columns -99 to 99, and for NaN or infinite coordinates. The one
// arithmetic behind every cell code of a point, so that whatever else is said
// about the point's cell agrees with its code.
std::optional<FramePosition> LocateInFrame(double latitude, double longitude, int firstRow);

}  // namespace velmora
