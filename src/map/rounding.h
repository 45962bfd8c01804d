#pragma once

#include <cmath>
#include <cstdint>

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

// numerator / denominator rounded as above, exactly: a position that is a half
// in real numbers stays a half, where a double quotient such as 1000 / 3 may
// already have lost it. The denominator must be positive.
inline std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  std::int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // division truncates towards zero; make it floor
    --quotient;
    remainder += denominator;
  }
  const std::int64_t beyondHalf = 2 * remainder - denominator;
  if (beyondHalf > 0 || (beyondHalf == 0 && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// The map divides a length of `extent` pixels into `parts` equal parts of real
// size (sheets, cells); these are the pixel positions on it, computed exactly.

// Where part `index` begins: round(index x extent / parts).
inline int PartStart(int index, int extent, int parts) {
  return static_cast<int>(RoundHalfEven(std::int64_t{index} * extent, parts));
}

// Where a text `size` pixels long begins centred in part `index`:
// round(index x extent / parts + extent / parts / 2 - size / 2).
inline int CentredInPart(int index, int extent, int parts, int size) {
  return static_cast<int>(
      RoundHalfEven((2 * std::int64_t{index} + 1) * extent - std::int64_t{size} * parts,
                    2 * std::int64_t{parts}));
}

}  // namespace velmora
