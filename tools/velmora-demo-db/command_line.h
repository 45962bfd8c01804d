#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "demo_options.h"
#include "platform/errors.h"

namespace velmora::demo {

// Bad command-line input: the message goes to standard error, the exit status is 2.
class UsageError : public Exception {
 public:
  using Exception::Exception;
};

struct CommandLine {
  std::filesystem::path out;
  std::optional<std::filesystem::path> bmp;
  bool force = false;
  DemoOptions options;
};

extern const char* const kUsage;

// Checks every argument before anything is written.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

}  // namespace velmora::demo
