#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/command_errors.h"

namespace velmora::host {

inline constexpr std::string_view kHostUsage =
    "usage: velmora-host [--db PATH | --connect TEXT] [--install-addin MODULE] [--list-addins]\n"
    "       velmora-host --help\n";

// What the host is asked to do at start.
struct HostOptions {
  bool help = false;
  // The host's database from here on, when given (--db or --connect).
  std::optional<std::string> connectionString;
  // A module to install before the add-ins are loaded (--install-addin).
  std::optional<std::string> module;
  // Print the installed add-ins and end, without a window (--list-addins).
  bool listAddins = false;
};

// The help text of --help.
extern const std::string_view kHostHelp;

// Reads the arguments after the program's name; bad ones raise cli::UsageError.
HostOptions ParseHostOptions(cli::Arguments args);

}  // namespace velmora::host
