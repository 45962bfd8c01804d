#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/tcolor.h"

namespace velmora {

struct NamedColor {
  std::string_view name;
  TColor value;
};

// Every colour with a name: the plain colours, the 30 system colours, clNone
// and clDefault. No value occurs twice, so each value has one name.
std::span<const NamedColor> ColorNames();

// The colour's name, or "$" and eight upper-case hexadecimal digits.
std::string ColorToString(TColor color);

// A name from the table (in any letter case), else an integer as ParseInteger
// reads it; anything else raises ConvertError.
TColor StringToColor(std::string_view text);

}  // namespace velmora
