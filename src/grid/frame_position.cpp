#include "grid/frame_position.h"

#include <cmath>

namespace velmora {

// Sheet row 9 begins at 55°06' N and rows are 6' high; sheet column 1 begins
// at 5°50' E and columns are 10' wide. The division by 0.1 stays a division:
// a multiplication by 10 can differ in the last bit, which decides on which
// side of a row boundary a point falls, and stored cell codes depend on it.
std::optional<FramePosition> LocateInFrame(double latitude, double longitude, int firstRow) {
  const double rowValue = (55.1 - latitude) / 0.1 + 9;
  const double columnValue = (longitude - 35.0 / 6.0) * 6 + 1;
  const double row = std::floor(rowValue);
  const double column = std::floor(columnValue);
  // Compared as floating-point numbers, so that NaN, infinities and values far
  // beyond the integer range fall out here before any conversion to int.
  if (!(row >= firstRow && row <= 99 && column >= -99 && column <= 99)) return std::nullopt;
  return FramePosition{static_cast<int>(row), static_cast<int>(column), rowValue - row,
                       columnValue - column};
}

}  // namespace velmora
