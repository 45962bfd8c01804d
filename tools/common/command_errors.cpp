#include "command_errors.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

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
    return command();
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

int RunNamedCommand(std::string_view program, std::span<const Command> commands,
                    std::string_view usage, std::string_view name, Arguments args) {
  return RunReportingErrors(program, [&] {
    const auto command = std::ranges::find(commands, name, &Command::name);
    if (command == commands.end()) {
      throw UsageError("unknown command '" + std::string(name) + "'\n" + std::string(usage));
    }
    return command->run(args);
  });
}

}  // namespace velmora::cli
