#pragma once

#include <optional>
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

// Why RunCommandOnTerminal cannot run here (a system built in a chroot without
// /dev/pts has no pseudo-terminals); nothing when it can. A test that needs
// the terminal skips with this reason:
//   if (const auto missing = testing::WhyNoPseudoTerminal()) GTEST_SKIP() << *missing;
std::optional<std::string> WhyNoPseudoTerminal();

}  // namespace velmora::testing
