#pragma once

#include <string_view>

#include "cli/command_errors.h"

namespace velmora::cli {

// "--help" or "-h" anywhere among the arguments: whatever else they say, the
// user asks how the program is used.
bool AsksForHelp(Arguments args);

// Writes the program's help, its usage and then the description of what it
// does, to standard output, where a pager or a file can take it, and gives
// the exit status: 0, or 1 with a message naming the program when the help
// could not be written.
int PrintHelp(std::string_view program, std::string_view usage, std::string_view description);

}  // namespace velmora::cli
