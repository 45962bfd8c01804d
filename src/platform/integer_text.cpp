#include "platform/integer_text.h"

#include <charconv>
#include <string>

#include "platform/errors.h"

namespace velmora {
namespace {

bool IsDigitOfBase(char c, int base) {
  if (c >= '0' && c <= '9') return true;
  if (base != 16) return false;
  return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::optional<std::int32_t> TryParseInteger(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  const bool hex = !rest.empty() && rest.front() == '$';
  if (hex) rest.remove_prefix(1);
  const int base = hex ? 16 : 10;

  bool wellFormed = !rest.empty();
  for (char c : rest) wellFormed = wellFormed && IsDigitOfBase(c, base);
  std::uint64_t magnitude = 0;
  if (wellFormed) {
    const auto [end, error] =
        std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, base);
    wellFormed = error == std::errc{} && end == rest.data() + rest.size();
  }
  // Hexadecimal text gives the 32 bits of the value; decimal text must fit.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (!wellFormed || magnitude > limit) return std::nullopt;

  const auto bits = static_cast<std::uint32_t>(magnitude);
  const auto value = static_cast<std::int32_t>(bits);
  return negative ? static_cast<std::int32_t>(0u - bits) : value;
}

std::int32_t ParseInteger(std::string_view text) {
  if (const std::optional<std::int32_t> value = TryParseInteger(text)) return *value;
  throw ConvertError(std::string(text));
}

}  // namespace velmora
