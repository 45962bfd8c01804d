#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "platform/errors.h"

namespace velmora::cli {

// The arguments of a command, after the program's and the command's names.
using Arguments = std::span<const std::string_view>;

// Bad command-line input: the message goes to standard error, the exit status is 2.
class UsageError : public Exception {
 public:
  using Exception::Exception;
};

// Runs a command of the program, then flushes standard output, and turns what
// either throws into one line on standard error, "program: message": exit
// status 2 for a usage error, with `usageAfterErrors` written after its line
// when the program gives one, and 1 for any other failure, among them output
// that could not be written.
int RunReportingErrors(std::string_view program, const std::function<int()>& command,
                       std::string_view usageAfterErrors = {});

// One command of a program that has several, named by its first argument.
struct Command {
  std::string_view name;
  int (*run)(Arguments args);
};

// A program whose first argument names one of its commands.
struct CommandProgram {
  std::string_view name;
  std::span<const Command> commands;
  std::string_view usage;        // written after a usage error, and first by --help
  std::string_view description;  // what --help writes after the usage
};

// Runs the program with the arguments after its own name: the help on
// standard output (exit status 0) when they ask for it anywhere, the usage on
// standard error (2) when there are none, else the command named first with
// the arguments after it, through RunReportingErrors. A name that is no
// command's is a usage error followed by the usage.
int RunCommandProgram(const CommandProgram& program, Arguments args);

}  // namespace velmora::cli
