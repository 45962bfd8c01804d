#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora::cli {

// Options given as "--name value" pairs. Unknown names, a name without a value
// and a name given twice are usage errors.
class Options {
 public:
  Options(std::span<const std::string_view> args, std::span<const std::string_view> known);

  // A usage error naming the option when it was not given.
  std::string Required(std::string_view name) const;
  std::optional<std::string> Optional(std::string_view name) const;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace velmora::cli
