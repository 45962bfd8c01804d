#include "cli/program_help.h"

#include <algorithm>

#include "cli/standard_output.h"

namespace velmora::cli {

bool AsksForHelp(Arguments args) {
  return std::ranges::any_of(args, [](std::string_view a) { return a == "--help" || a == "-h"; });
}

int PrintHelp(std::string_view program, std::string_view usage, std::string_view description) {
  return RunReportingErrors(program, [&] {
    PrintOut(usage);
    PrintOut("\n");
    PrintOut(description);
    return 0;
  });
}

}  // namespace velmora::cli
