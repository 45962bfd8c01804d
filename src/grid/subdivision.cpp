#include "grid/subdivision.h"

#include <charconv>

namespace velmora {

void AppendZeroPadded(std::string& out, int value, int minDigits) {
  char buffer[16];
  long long magnitude = value;
  if (magnitude < 0) {
    out += '-';
    magnitude = -magnitude;
  }
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  for (long long n = end - buffer; n < minDigits; ++n) out += '0';
  out.append(buffer, end);
}

void AppendQuadrantDigits(std::string& out, int rho, int kappa, int levels) {
  for (int bit = levels - 1; bit >= 0; --bit) {
    const int south = (rho >> bit) & 1;
    const int east = (kappa >> bit) & 1;
    out += static_cast<char>('1' + 2 * south + east);
  }
}

void AppendMinuteFieldDigits(std::string& out, int rho, int kappa) {
  const int quadrant = 1 + 2 * (rho >= 3) + (kappa >= 5);
  out += static_cast<char>('0' + quadrant);
  out += static_cast<char>('1' + rho % 3);
  out += static_cast<char>('1' + kappa % 5);
}

}  // namespace velmora
