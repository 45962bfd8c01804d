#pragma once

#include <optional>
#include <string>

#include "grid/cell_list.h"

namespace velmora {

// Smaller values are no longer read on a printed map.
inline constexpr int kSmallestValuePoints = 6;

// The size at which a map's values fit their cells.
struct ValueFit {
  // In points; nothing when the widest value does not fit even at
  // kSmallestValuePoints.
  std::optional<int> points;
  // The widest value (the first of equal width), which decided the size.
  std::string widest;
};

// The largest size in whole points, from `largestPoints` down to
// kSmallestValuePoints, at which the widest value of the cells (other than
// "0") fits a cell of `cellWidth` x `cellHeight` pixels with a tenth of the
// cell left free on every side: its advance width within eight tenths of the
// width, the ink of the digits within eight tenths of the height. Below
// kSmallestValuePoints only `largestPoints` itself is tried. A map without
// values fits at `largestPoints`.
ValueFit FitValues(const TGrids& grids, double cellWidth, double cellHeight, int largestPoints);

}  // namespace velmora
