#include "platform/db/variant.h"

#include <charconv>

namespace velmora {

namespace {

template <typename Number>
std::string NumberText(Number number) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, end);
}

}  // namespace

std::string VariantToText(const Variant& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(long long number) const { return NumberText(number); }
    std::string operator()(double number) const { return NumberText(number); }
  };
  return std::visit(Visitor{}, value);
}

}  // namespace velmora
