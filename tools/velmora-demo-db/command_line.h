#pragma once

#include <filesystem>
#include <optional>

#include "cli/command_errors.h"
#include "demo/demo_options.h"

namespace velmora::demo {

struct CommandLine {
  std::filesystem::path out;
  std::optional<std::filesystem::path> bmp;
  bool force = false;
  DemoOptions options;
};

// Written after the message of every usage error.
extern const char* const kUsage;
// What --help writes after the usage.
extern const char* const kDescription;

// Checks every argument before anything is written.
CommandLine ParseCommandLine(cli::Arguments args);

}  // namespace velmora::demo
