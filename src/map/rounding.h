#pragma once

#include <cmath>

namespace velmora {

// The nearest integer, an exact half to the even neighbour (22.5 gives 22,
// 23.5 gives 24): how every pixel position of the map is rounded. Independent
// of the floating-point rounding mode.
inline int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return static_cast<int>(floor) + 1;
  if (fraction < 0.5) return static_cast<int>(floor);
  return std::fmod(floor, 2.0) == 0.0 ? static_cast<int>(floor) : static_cast<int>(floor) + 1;
}

}  // namespace velmora
