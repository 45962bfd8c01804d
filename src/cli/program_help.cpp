#include "cli/program_help.h"

#include <algorithm>
#include <cstdio>

namespace velmora::cli {

bool AsksForHelp(Arguments args) {
  return std::ranges::any_of(args, [](std::string_view a) { return a == "--help" || a == "-h"; });
}

int PrintHelp(std::string_view usage, std::string_view description) {
  std::fwrite(usage.data(), 1, usage.size(), stdout);
  std::fputc('\n', stdout);
  std::fwrite(description.data(), 1, description.size(), stdout);
  return 0;
}

}  // namespace velmora::cli
