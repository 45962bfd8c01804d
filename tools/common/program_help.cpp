#include "program_help.h"

#include <algorithm>
#include <cstdio>

namespace velmora::cli {

bool AsksForHelp(Arguments args) {
  return std::ranges::any_of(args, [](std::string_view a) { return a == "--help" || a == "-h"; });
}

int PrintHelp(std::string_view help) {
  std::fwrite(help.data(), 1, help.size(), stdout);
  return 0;
}

}  // namespace velmora::cli
