#include "count_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"

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
  int gridType = 0;
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

CountOptions ParseOptions(Arguments args) {
  std::map<std::string_view, std::string> values;
  bool csv = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view name = args[i];
    if (name == "--csv") {
      csv = true;
      continue;
    }
    static constexpr std::string_view kOptions[] = {
        "--db", "--connect", "--nw", "--se", "--system", "--type", "--groups", "--surveys"};
    if (std::find(std::begin(kOptions), std::end(kOptions), name) == std::end(kOptions)) {
      throw UsageError("unknown option '" + std::string(name) + "'\nusage: velmora-count " +
                       std::string(kUsage));
    }
    if (i + 1 == args.size()) throw UsageError("option " + std::string(name) + " needs a value");
    values[name] = std::string(args[++i]);
  }
  for (const char* required : {"--nw", "--se", "--system", "--type"}) {
    if (!values.contains(required)) {
      throw UsageError("option " + std::string(required) + " is missing\nusage: velmora-count " +
                       std::string(kUsage));
    }
  }
  if (values.contains("--db") == values.contains("--connect")) {
    throw UsageError("give the database with exactly one of --db and --connect");
  }

  CountOptions options;
  options.csv = csv;
  if (values.contains("--db")) {
    const std::string& path = values["--db"];
    if (!std::filesystem::exists(path)) {
      throw UsageError("the database file '" + path + "' does not exist");
    }
    if (!std::filesystem::is_regular_file(path)) {
      throw UsageError("'" + path + "' is not a database file");
    }
    // The connection string ends its Data Source at a ';', so such a path
    // would open another file.
    if (path.find(';') != std::string::npos) {
      throw UsageError("the database path '" + path + "' contains ';' (use --connect)");
    }
    options.connectionString = "Provider=SQLite;Data Source=" + path;
  } else {
    options.connectionString = values["--connect"];
  }
  options.northWest = values["--nw"];
  options.southEast = values["--se"];
  options.system = GridSystemByCode(values["--system"]);
  if (!options.system) {
    throw UsageError("unknown grid system '" + values["--system"] + "' (use QYX or QQQ)");
  }
  options.gridType = ParseGridType(values["--type"]);
  if (!options.system->offersGridType[options.gridType]) {
    throw UsageError("the grid system " + std::string(options.system->code) +
                     " offers no grid type " + std::string(kGridTypes[options.gridType].name));
  }
  if (values.contains("--groups")) options.groups = ParseKeys("--groups", values["--groups"]);
  if (values.contains("--surveys")) options.surveys = ParseKeys("--surveys", values["--surveys"]);
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

// Status texts go to standard error, one a line; a terminal also sees the bar,
// kept on the line below the latest text.
class StderrProgress final : public ProgressSink {
 public:
  StderrProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}
  ~StderrProgress() override {
    if (shown_ >= 0) std::fputc('\n', stderr);
  }

  void SetProgressText(const std::string& text) override {
    // The bar's line is cleared for the text and drawn again below it.
    if (shown_ >= 0) std::fputs("\r\033[K", stderr);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (shown_ >= 0) DrawBar();
  }
  void SetProgressPosition(int percent) override {
    if (!terminal_ || percent == shown_) return;
    shown_ = percent;
    DrawBar();
  }

 private:
  void DrawBar() const {
    std::fprintf(stderr, "\r[%-50s] %3d%%", std::string(shown_ / 2, '#').c_str(), shown_);
    std::fflush(stderr);
  }
  bool terminal_;
  int shown_ = -1;
};

}  // namespace

int RunCount(Arguments args) {
  const CountOptions options = ParseOptions(args);
  MapState map =
      BuildExtent(options.northWest, options.southEast, options.gridType, options.system->item);

  LoadGeodeticLibrary();
  // The session's own connection time-out bounds the opening, the wait for a
  // locked database included: a batch job should not sit silent for minutes.
  DatabaseSession session;
  session.Open(options.connectionString);
  const CountRunInputs inputs{&kGridTypes[options.gridType],
                              KeyList(session, options.groups, LoadTaxonGroups),
                              KeyList(session, options.surveys, LoadSurveys)};
  {
    StderrProgress progress;
    CountDatabase(session, map, inputs, progress);
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
