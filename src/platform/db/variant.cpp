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

std::optional<double> VariantToNumber(const Variant& value) {
  if (const double* number = std::get_if<double>(&value)) return *number;
  if (const long long* number = std::get_if<long long>(&value)) return static_cast<double>(*number);
  if (const std::string* text = std::get_if<std::string>(&value)) return TextToNumber(*text);
  return std::nullopt;
}

std::optional<double> TextToNumber(std::string_view text) {
  double number = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec == std::errc() && end == text.data() + text.size()) return number;
  return std::nullopt;
}

}  // namespace velmora
