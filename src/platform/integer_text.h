#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

// Reads a decimal integer, or a hexadecimal one after "$" (up to eight digits,
// taken as the 32 bits of the value, so "$FF000005" is negative). Leading
// blanks and one sign are allowed; nothing else, and the value must fit.
std::optional<std::int32_t> TryParseInteger(std::string_view text);

// TryParseInteger, raising ConvertError with "'TEXT' is not a valid integer
// value" for a text it rejects.
std::int32_t ParseInteger(std::string_view text);

}  // namespace velmora
