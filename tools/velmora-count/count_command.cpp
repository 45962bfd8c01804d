#include "count_command.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "count/sample_assignment.h"
#include "count/selection_lists.h"
#include "count/taxa_count.h"
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
  std::string groups = "all";
  std::string surveys = "all";
  bool csv = false;
};

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
    if (!std::filesystem::is_regular_file(path)) {
      throw UsageError("the database file '" + path + "' does not exist");
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
  if (values.contains("--groups")) options.groups = values["--groups"];
  if (values.contains("--surveys")) options.surveys = values["--surveys"];
  return options;
}

// "all" checks every item of the list; otherwise the given keys, in their order.
std::string KeyList(DatabaseSession& session, const std::string& selection,
                    void (*load)(DatabaseSession&, const AppendSelectionItem&)) {
  std::vector<CheckedKey> keys;
  if (selection == "all") {
    load(session, [&keys](SelectionItem item) { keys.push_back({std::move(item.key), true}); });
  } else {
    size_t start = 0;
    while (start <= selection.size()) {
      const size_t comma = std::min(selection.find(',', start), selection.size());
      keys.push_back({selection.substr(start, comma - start), true});
      start = comma + 1;
    }
  }
  return CheckedKeyList(keys);
}

// Status texts go to standard error, one a line; a terminal also sees the bar.
class StderrProgress final : public ProgressSink {
 public:
  StderrProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}
  ~StderrProgress() override { EndBar(); }

  void SetProgressText(const std::string& text) override {
    EndBar();
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  void SetProgressPosition(int percent) override {
    if (!terminal_ || percent == shown_) return;
    shown_ = percent;
    std::fprintf(stderr, "\r[%-50s] %3d%%", std::string(percent / 2, '#').c_str(), percent);
    std::fflush(stderr);
  }

 private:
  void EndBar() {
    if (shown_ >= 0) std::fputc('\n', stderr);
    shown_ = -1;
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
  DatabaseSession session;
  session.SetConnectionTimeout(400);
  session.Open(options.connectionString);
  const std::string groups = KeyList(session, options.groups, LoadTaxonGroups);
  const std::string surveys = KeyList(session, options.surveys, LoadSurveys);
  {
    StderrProgress progress;
    AssignSampleCells(session, map, options.gridType, progress);
    CountTaxaPerCell(session, map, groups, surveys, progress);
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
