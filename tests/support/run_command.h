#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

struct CommandResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs a program with arguments (no shell), feeding `input` to its standard input.
CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

// RunCommand with standard error on a terminal (a pseudo-terminal that passes
// bytes unchanged), as a user at a console sees it; standard output stays a pipe.
CommandResult RunCommandOnTerminal(const std::string& program,
                                   const std::vector<std::string>& args);

}  // namespace velmora::testing
