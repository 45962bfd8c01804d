#pragma once

#include <string>
#include <variant>

namespace velmora {

// A field's value as the database gives it: null, text, integer or float.
using Variant = std::variant<std::monostate, std::string, long long, double>;

// Text as it is, integers in decimal, floats in their shortest exact form with a
// decimal point whatever the locale, null as "".
std::string VariantToText(const Variant& value);

}  // namespace velmora
