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

// Runs a command of the program and turns what it throws into one line on
// standard error, "program: message": exit status 2 for a usage error, with
// `usageAfterErrors` written after its line when the program gives one, and 1
// for any other failure.
int RunReportingErrors(std::string_view program, const std::function<int()>& command,
                       std::string_view usageAfterErrors = {});

// One command of a program that has several, named by its first argument.
struct Command {
  std::string_view name;
  int (*run)(Arguments args);
};

// Runs the named command with its arguments through RunReportingErrors; a
// name that is no command's is a usage error followed by the program's usage.
int RunNamedCommand(std::string_view program, std::span<const Command> commands,
                    std::string_view usage, std::string_view name, Arguments args);

}  // namespace velmora::cli
