#include "cli/command_errors.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "cli/program_help.h"
#include "cli/standard_output.h"

namespace velmora::cli {
namespace {

void Report(std::string_view program, const std::exception& error) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(),
               error.what());
}

}  // namespace

int RunReportingErrors(std::string_view program, const std::function<int()>& command,
                       std::string_view usageAfterErrors) {
  try {
    const int status = command();
    FinishStandardOutput();
    return status;
  } catch (const UsageError& e) {
    Report(program, e);
    if (!usageAfterErrors.empty()) {
      std::fwrite(usageAfterErrors.data(), 1, usageAfterErrors.size(), stderr);
    }
    return 2;
  } catch (const std::exception& e) {
    Report(program, e);
    return 1;
  }
}

int RunCommandProgram(const CommandProgram& program, Arguments args) {
  if (AsksForHelp(args)) return PrintHelp(program.name, program.usage, program.description);
  if (args.empty()) {
    std::fwrite(program.usage.data(), 1, program.usage.size(), stderr);
    return 2;
  }
  return RunReportingErrors(program.name, [&] {
    const auto command = std::ranges::find(program.commands, args[0], &Command::name);
    if (command == program.commands.end()) {
      throw UsageError("unknown command '" + std::string(args[0]) + "'\n" +
                       std::string(program.usage));
    }
    return command->run(args.subspan(1));
  });
}

}  // namespace velmora::cli
