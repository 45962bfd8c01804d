#include "count_command.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "count_arguments.h"
#include "grid/grid_types.h"
#include "grid_arguments.h"
#include "option_reader.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kUsage =
    "count (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ --type GRIDTYPE "
    "[--groups all|KEY,KEY...] [--surveys all|KEY,KEY...] [--csv]";

struct CountOptions {
  CountArguments count;
  std::string northWest;
  std::string southEast;
  const GridSystemInfo* system = nullptr;
  const GridTypeInfo* gridType = nullptr;
  bool csv = false;
};

// Every refusal of the reader but a doubled option, which takes the later
// value; an unknown option is followed by the command's usage.
OptionWording Wording() {
  const std::string usage = "\nusage: velmora-count " + std::string(kUsage);
  return {.unknown = "unknown option '%s'" + usage,
          .unexpected = "unknown option '%s'" + usage,
          .needsValue = "option %s needs a value",
          .givenTwice = "",
          .missing = "option %s is missing" + usage};
}

constexpr OptionSpec kOptions[] = {
    {"--db"},   {"--connect"}, {"--nw"},      {"--se"},         {"--system"},
    {"--type"}, {"--groups"},  {"--surveys"}, {"--csv", false},
};

CountOptions ParseOptions(Arguments args) {
  const OptionReader given(args, kOptions, Wording());
  CountOptions options;
  options.northWest = given.Required("--nw");
  options.southEast = given.Required("--se");
  const std::string system = given.Required("--system");
  const std::string type = given.Required("--type");
  options.count = ReadCountArguments(given);
  options.csv = given.Has("--csv");
  options.system = &ParseGridSystem(system);
  options.gridType = &ParseGridType(type);
  CheckSystemOffersType(*options.system, *options.gridType);
  return options;
}

}  // namespace

int RunCount(Arguments args) {
  const CountOptions options = ParseOptions(args);
  MapState map =
      BuildExtent(options.northWest, options.southEast, *options.gridType, *options.system);
  CountIntoMap(options.count, *options.gridType, map);

  std::string out = options.csv ? "code,count\n" : "";
  for (const std::vector<TGrid>& row : map.Grids) {
    for (const TGrid& cell : row) {
      if (cell.Count == "0") continue;
      out += cell.Code;
      out += options.csv ? ',' : '\t';
      out += cell.Count;
      out += '\n';
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace velmora::cli
