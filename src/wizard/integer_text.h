#pragma once

#include <cstdint>
#include <string_view>

namespace velmora {

// Reads a decimal integer, or a hexadecimal one after "$" (up to eight digits,
// taken as the 32 bits of the value, so "$FF000005" is negative). Leading
// blanks and one sign are allowed. Anything else raises ConvertError with
// "'TEXT' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);

}  // namespace velmora
