#pragma once

#include <charconv>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_errors.h"

namespace velmora::cli {

// One option a command knows, by its name with the dashes ("--nw").
struct KnownOption {
  std::string_view name;
  bool takesValue = true;  // false for a flag, which stands alone
};

// How a command words what the reader refuses; "%s" stands for the argument
// or option at fault.
struct OptionWording {
  // A name beginning with "--" that no option has.
  std::string unknown = "unknown option '%s'";
  // Any other argument that is no option; empty keeps such arguments, in
  // order, as the command's operands.
  std::string unexpected = "unknown option '%s'";
  std::string needsValue = "option '%s' needs a value";
  // An option or flag given twice, whatever its values: no program lets a
  // later value quietly win.
  std::string givenTwice = "option '%s' given twice";
  std::string missing = "option '%s' is missing";
};

// Reads a command's arguments against the options it knows: "--name value"
// pairs, whatever the value looks like, and flags. Everything the wording
// refuses is a UsageError, raised while reading, before the command looks at
// any value.
class OptionReader {
 public:
  OptionReader(Arguments args, std::span<const KnownOption> known, OptionWording wording = {});

  bool Has(std::string_view name) const { return values_.contains(name); }
  // The value of an option; "" for a flag.
  std::optional<std::string> Optional(std::string_view name) const;
  // A usage error naming the option when it was not given.
  std::string Required(std::string_view name) const;
  const std::vector<std::string_view>& Operands() const { return operands_; }

  // The value as a whole number from low to high, decimal digits only.
  template <typename Number>
  std::optional<Number> WholeNumber(std::string_view name, Number low, Number high) const;

 private:
  OptionWording wording_;
  std::map<std::string, std::string, std::less<>> values_;
  std::vector<std::string_view> operands_;
};

template <typename Number>
std::optional<Number> OptionReader::WholeNumber(std::string_view name, Number low,
                                                Number high) const {
  const std::optional<std::string> text = Optional(name);
  if (!text) return std::nullopt;
  Number value{};
  const char* end = text->data() + text->size();
  const auto [last, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || last != end || value < low || value > high) {
    throw UsageError(std::string(name) + " takes a whole number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not '" + *text + "'");
  }
  return value;
}

}  // namespace velmora::cli
