#include "velmora-count/count_command.h"

#include <string>

#include "cli/count_arguments.h"
#include "cli/grid_arguments.h"
#include "cli/option_reader.h"
#include "cli/standard_output.h"
#include "grid/grid_types.h"
#include "velmora-count/count_formats.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kUsage =
    "count (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ --type GRIDTYPE "
    "[--groups all|KEY,KEY...] [--surveys all|KEY,KEY...] [--from YEAR] [--to YEAR] "
    "[--measure taxa|records] [--format tsv|csv|geojson | --csv]";

struct CountOptions {
  CountArguments count;
  std::string northWest;
  std::string southEast;
  const GridSystemInfo* system = nullptr;
  const GridTypeInfo* gridType = nullptr;
  CountFormat format = CountFormat::Tsv;
};

// An unknown option is followed by the command's usage.
OptionWording Wording() {
  const std::string usage = "\nusage: velmora-count " + std::string(kUsage);
  return {.unknown = "unknown option '%s'" + usage,
          .unexpected = "unknown option '%s'" + usage,
          .needsValue = "option %s needs a value",
          .givenTwice = "option %s given twice",
          .missing = "option %s is missing" + usage};
}

constexpr KnownOption kOptions[] = {
    {"--db"},      {"--connect"}, {"--nw"},         {"--se"},   {"--system"},
    {"--type"},    {"--groups"},  {"--surveys"},    {"--from"}, {"--to"},
    {"--measure"}, {"--format"},  {"--csv", false},
};

CountOptions ParseOptions(Arguments args) {
  const OptionReader given(args, kOptions, Wording());
  CountOptions options;
  options.northWest = given.Required("--nw");
  options.southEast = given.Required("--se");
  const std::string system = given.Required("--system");
  const std::string type = given.Required("--type");
  options.count = ReadCountArguments(given);
  if (given.Has("--csv") && given.Has("--format")) {
    throw UsageError("--csv is short for --format csv; give one of them");
  }
  options.format = given.Has("--csv")
                       ? CountFormat::Csv
                       : ParseCountFormat(given.Optional("--format").value_or("tsv"));
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
  const bool coordinates = HasRecordsAndCoordinates(options.format);
  const CountResult result = CountIntoMap(options.count, *options.gridType, coordinates, map);
  const std::string out = FormatCounts(options.format, map, result);
  PrintOut(out);
  return 0;
}

}  // namespace velmora::cli
