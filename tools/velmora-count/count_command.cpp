#include "count_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "grid_arguments.h"
#include "option_reader.h"
#include "platform/db/database_session.h"
#include "terminal_progress.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kUsage =
    "count (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ --type GRIDTYPE "
    "[--groups all|KEY,KEY...] [--surveys all|KEY,KEY...] [--csv]";

struct CountOptions {
  std::string connectionString;
  std::string northWest;
  std::string southEast;
  const GridSystemInfo* system = nullptr;
  const GridTypeInfo* gridType = nullptr;
  // Nothing for "all": every item of the list is checked.
  std::optional<std::vector<std::string>> groups;
  std::optional<std::vector<std::string>> surveys;
  bool csv = false;
};

// "all", or the keys of a comma-separated list in their order; an empty key
// names no taxon group or survey and is refused.
std::optional<std::vector<std::string>> ParseKeys(std::string_view option,
                                                  const std::string& text) {
  if (text == "all") return std::nullopt;
  std::vector<std::string> keys;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    keys.push_back(text.substr(start, comma - start));
    if (keys.back().empty()) {
      throw UsageError("option " + std::string(option) + " has an empty key in '" + text +
                       "' (use all or KEY,KEY...)");
    }
    start = comma + 1;
  }
  return keys;
}

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
  if (given.Has("--db") == given.Has("--connect")) {
    throw UsageError("give the database with exactly one of --db and --connect");
  }

  options.csv = given.Has("--csv");
  if (const std::optional<std::string> path = given.Optional("--db")) {
    if (!std::filesystem::exists(*path)) {
      throw UsageError("the database file '" + *path + "' does not exist");
    }
    if (!std::filesystem::is_regular_file(*path)) {
      throw UsageError("'" + *path + "' is not a database file");
    }
    // The connection string ends its Data Source at a ';', so such a path
    // would open another file.
    if (path->find(';') != std::string::npos) {
      throw UsageError("the database path '" + *path + "' contains ';' (use --connect)");
    }
    options.connectionString = "Provider=SQLite;Data Source=" + *path;
  } else {
    options.connectionString = given.Required("--connect");
  }
  options.system = &ParseGridSystem(system);
  options.gridType = &ParseGridType(type);
  if (!options.system->offersGridType[options.gridType->item]) {
    throw UsageError("the grid system " + std::string(options.system->code) +
                     " offers no grid type " + std::string(options.gridType->name));
  }
  if (const auto groups = given.Optional("--groups")) {
    options.groups = ParseKeys("--groups", *groups);
  }
  if (const auto surveys = given.Optional("--surveys")) {
    options.surveys = ParseKeys("--surveys", *surveys);
  }
  return options;
}

// Nothing checks every item of the list; otherwise the given keys, in their order.
std::string KeyList(DatabaseSession& session, const std::optional<std::vector<std::string>>& given,
                    void (*load)(DatabaseSession&, const AppendSelectionItem&)) {
  std::vector<CheckedKey> keys;
  if (!given) {
    load(session, [&keys](SelectionItem item) { keys.push_back({std::move(item.key), true}); });
  } else {
    for (const std::string& key : *given) keys.push_back({key, true});
  }
  return CheckedKeyList(keys);
}

}  // namespace

int RunCount(Arguments args) {
  const CountOptions options = ParseOptions(args);
  MapState map =
      BuildExtent(options.northWest, options.southEast, *options.gridType, *options.system);

  LoadGeodeticLibrary();
  // The session's own connection time-out bounds the opening, the wait for a
  // locked database included: a batch job should not sit silent for minutes.
  DatabaseSession session;
  session.Open(options.connectionString);
  const CountRunInputs inputs{.gridType = options.gridType,
                              .taxonGroupKeys = KeyList(session, options.groups, LoadTaxonGroups),
                              .surveyKeys = KeyList(session, options.surveys, LoadSurveys)};
  {
    TerminalProgress progress;
    CountDatabase(session, map, inputs, progress);
    progress.Finish();
  }
  session.Close();

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
