#include "cli/option_reader.h"

#include <algorithm>

namespace velmora::cli {
namespace {

std::string Say(const std::string& wording, std::string_view what) {
  std::string message = wording;
  const size_t at = message.find("%s");
  if (at != std::string::npos) message.replace(at, 2, what);
  return message;
}

}  // namespace

OptionReader::OptionReader(Arguments args, std::span<const KnownOption> known,
                           OptionWording wording)
    : wording_(std::move(wording)) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view argument = args[i];
    const auto option = std::ranges::find(known, argument, &KnownOption::name);
    if (option == known.end()) {
      if (argument.starts_with("--")) throw UsageError(Say(wording_.unknown, argument));
      if (!wording_.unexpected.empty()) throw UsageError(Say(wording_.unexpected, argument));
      operands_.push_back(argument);
      continue;
    }
    std::string value;
    if (option->takesValue) {
      if (i + 1 == args.size()) throw UsageError(Say(wording_.needsValue, argument));
      value = args[++i];
    }
    if (!values_.try_emplace(std::string(argument), std::move(value)).second) {
      throw UsageError(Say(wording_.givenTwice, argument));
    }
  }
}

std::optional<std::string> OptionReader::Optional(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::string OptionReader::Required(std::string_view name) const {
  if (std::optional<std::string> value = Optional(name)) return *value;
  throw UsageError(Say(wording_.missing, name));
}

}  // namespace velmora::cli
