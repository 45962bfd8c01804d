#include "platform/com/guid.h"

#include <cstdio>

namespace velmora::com {
namespace {

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Reads `digits` hex digits starting at `pos`.
std::optional<std::uint32_t> HexNumber(std::string_view text, std::size_t pos, int digits) {
  std::uint32_t value = 0;
  for (int i = 0; i < digits; ++i) {
    std::optional<unsigned> digit = HexDigit(text[pos + i]);
    if (!digit) return std::nullopt;
    value = value * 16 + *digit;
  }
  return value;
}

}  // namespace

std::optional<GUID> ParseGuid(std::string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  constexpr std::size_t kLength = 38;
  if (text.size() != kLength || text.front() != '{' || text.back() != '}') return std::nullopt;
  for (std::size_t dash : {9u, 14u, 19u, 24u}) {
    if (text[dash] != '-') return std::nullopt;
  }
  GUID guid;
  std::optional<std::uint32_t> d1 = HexNumber(text, 1, 8);
  std::optional<std::uint32_t> d2 = HexNumber(text, 10, 4);
  std::optional<std::uint32_t> d3 = HexNumber(text, 15, 4);
  if (!d1 || !d2 || !d3) return std::nullopt;
  guid.data1 = *d1;
  guid.data2 = static_cast<std::uint16_t>(*d2);
  guid.data3 = static_cast<std::uint16_t>(*d3);
  // data4: two bytes before the last dash, six after it.
  constexpr std::size_t kBytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    std::optional<std::uint32_t> byte = HexNumber(text, kBytePositions[i], 2);
    if (!byte) return std::nullopt;
    guid.data4[i] = static_cast<std::uint8_t>(*byte);
  }
  return guid;
}

std::string FormatGuid(const GUID& g) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1,
                g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
                g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

}  // namespace velmora::com
