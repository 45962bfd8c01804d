#include "options.h"

#include <algorithm>

#include "arguments.h"

namespace velmora::cli {

Options::Options(std::span<const std::string_view> args, std::span<const std::string_view> known) {
  for (size_t i = 0; i < args.size(); i += 2) {
    const std::string_view name = args[i];
    if (!name.starts_with("--") || std::ranges::find(known, name.substr(2)) == known.end()) {
      throw UsageError("unknown option '" + std::string(name) + "'");
    }
    if (i + 1 == args.size()) throw UsageError("option '" + std::string(name) + "' needs a value");
    if (!values_.emplace(name.substr(2), args[i + 1]).second) {
      throw UsageError("option '" + std::string(name) + "' given twice");
    }
  }
}

std::string Options::Required(std::string_view name) const {
  if (std::optional<std::string> value = Optional(name)) return *value;
  throw UsageError("option '--" + std::string(name) + "' is missing");
}

std::optional<std::string> Options::Optional(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

}  // namespace velmora::cli
