#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

// A field's value as the database gives it: null, text, integer or float.
using Variant = std::variant<std::monostate, std::string, long long, double>;

// Text as it is, integers in decimal, floats in their shortest exact form with a
// decimal point whatever the locale, null as "".
std::string VariantToText(const Variant& value);

// A number as it is; a text that is wholly a decimal number as that number;
// nothing for null and any other text.
std::optional<double> VariantToNumber(const Variant& value);
std::optional<double> TextToNumber(std::string_view text);

}  // namespace velmora
