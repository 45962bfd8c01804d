// velmora-map atlas: a distribution atlas from one pass over the database.
// Its data must be what the raw rows give and what the counts of each group
// give, its index must lead to maps that are there, and its folder must hold
// only complete files of its own.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "demo/demo_database.h"
#include "grid/extent.h"
#include "grid/grid_types.h"
#include "picture_compare.h"
#include "platform/db/database_session.h"
#include "raw_counts.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::RunCommand;

// The fields of each line of an RFC 4180 text.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      rows.back().back() += c;
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      rows.back().emplace_back();
    } else if (!quoted && c == '\n') {
      rows.emplace_back(1);
    } else {
      rows.back().back() += c;
    }
  }
  rows.pop_back();  // after the last line end
  return rows;
}

std::optional<int> YearOf(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return std::stoi(text);
}

// Every relative link and picture of a page.
std::set<std::string> LinksOf(const std::string& html) {
  static const std::regex link(R"re((?:href|src)="([^"#][^"]*)")re");
  std::set<std::string> links;
  for (auto m = std::sregex_iterator(html.begin(), html.end(), link); m != std::sregex_iterator();
       ++m) {
    links.insert((*m)[1]);
  }
  return links;
}

class AtlasCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testing::TempFolder>();
    demo::DemoOptions options;
    options.samples = 1500;
    demo::WriteDemoDatabase(Db(), options);
    const CommandResult background =
        Map({"background", "--nw", "6508", "--se", "6711", "--out", Bmp(), "--sheet-size", "60"});
    ASSERT_EQ(background.exitStatus, 0) << background.err;
    atlas_ = Atlas(Out("atlas"), {"--richness"});
    ASSERT_EQ(atlas_.exitStatus, 0) << atlas_.err;
  }
  static void TearDownTestSuite() { folder_.reset(); }

  static std::string Db() { return folder_->PathOf("demo.db"); }
  static std::string Bmp() { return folder_->PathOf("land.bmp"); }
  static std::string Out(const std::string& name) { return folder_->PathOf(name); }

  static CommandResult Map(const std::vector<std::string>& args) {
    return RunCommand(VELMORA_MAP_PATH, args);
  }
  static CommandResult Atlas(const std::string& out, const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"atlas", "--db",  Db(),       "--nw",  "6508",
                                     "--se",  "6711",  "--system", "QYX",   "--type",
                                     "1",     "--bmp", Bmp(),      "--out", out};
    args.insert(args.end(), more.begin(), more.end());
    return Map(args);
  }

  static inline std::unique_ptr<testing::TempFolder> folder_;
  static inline CommandResult atlas_;
};

// Every (taxon, cell) row with its records and years is what the raw rows
// give; and counted with only its group, each cell holds as many taxa and
// records as the atlas gives that group there.
TEST_F(AtlasCommand, TheDataAgreesWithTheRawRowsAndWithTheCountOfEachGroup) {
  const auto rows = ParseCsv(testing::ReadFileBytes(Out("atlas/atlas.csv")));
  ASSERT_GT(rows.size(), 200u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"taxon_key", "taxon_name", "group_key", "code",
                                               "records", "first_year", "last_year"}));
  std::map<testing::AtlasKey, testing::AtlasFigures> written;
  std::map<std::string, std::map<std::string, std::pair<int, int>>> groupCells;  // taxa, records
  for (size_t i = 1; i < rows.size(); ++i) {
    const auto& row = rows[i];
    ASSERT_EQ(row.size(), 7u) << i;
    const std::optional<std::string> taxon = row[0].empty() ? std::nullopt : std::optional(row[0]);
    written[{taxon, row[3]}] = {std::stoi(row[4]), YearOf(row[5]), YearOf(row[6])};
    auto& [taxa, records] = groupCells[row[2]][row[3]];
    ++taxa;
    records += std::stoi(row[4]);
  }

  DatabaseSession session;
  session.Open("Provider=SQLite;Data Source=" + Db());
  const testing::HostRecords host(session);
  std::set<std::string> groups, surveys;
  for (const auto& r : testing::ReadAll(session, "SELECT TAXON_GROUP_KEY FROM TAXON_GROUP")) {
    groups.insert(VariantToText(r[0]));
  }
  for (const auto& r : testing::ReadAll(session, "SELECT SURVEY_KEY FROM SURVEY")) {
    surveys.insert(VariantToText(r[0]));
  }
  MapState map;
  BuildCellList({1, GridSystemByCode("QYX")->item, Extent::Read("6508", "6711"), ""}, map);
  EXPECT_EQ(written, testing::ExpectedAtlas(host, map, 1, groups, surveys));

  for (const std::string& group : groups) {
    const CommandResult count = RunCommand(
        VELMORA_COUNT_PATH, {"count", "--db", Db(), "--nw", "6508", "--se", "6711", "--system",
                             "QYX", "--type", "1", "--groups", group, "--format", "csv"});
    ASSERT_EQ(count.exitStatus, 0) << count.err;
    std::map<std::string, std::pair<int, int>> counted;
    const auto lines = ParseCsv(count.out);
    for (size_t i = 1; i < lines.size(); ++i) {
      counted[lines[i][0]] = {std::stoi(lines[i][1]), std::stoi(lines[i][2])};
    }
    EXPECT_EQ(groupCells[group], counted) << group;
  }
}

// Every map and thumbnail the index links to is there and decodes, a raster
// map with the files that place it beside it, and the index lists every taxon.
TEST_F(AtlasCommand, EveryFileTheIndexNamesIsThereAndDecodes) {
  const std::string html = testing::ReadFileBytes(Out("atlas/index.html"));
  const std::set<std::string> links = LinksOf(html);
  size_t maps = 0;
  for (const std::string& link : links) {
    ASSERT_EQ(link.find("//"), std::string::npos) << "no link leaves the atlas: " << link;
    const fs::path file = fs::path(Out("atlas")) / link;
    EXPECT_FALSE(QImage(QString::fromStdString(file.string())).isNull()) << link;
    if (link.starts_with("maps/")) {
      ++maps;
      EXPECT_TRUE(fs::exists(fs::path(file).replace_extension(".pgw"))) << link;
      EXPECT_TRUE(fs::exists(file.string() + ".aux.xml")) << link;
    }
  }
  const auto rows = ParseCsv(testing::ReadFileBytes(Out("atlas/atlas.csv")));
  std::set<std::string> taxa, groups;
  for (size_t i = 1; i < rows.size(); ++i) {
    taxa.insert(rows[i][0]);
    groups.insert(rows[i][2]);
  }
  EXPECT_EQ(maps, taxa.size() + groups.size()) << "a map per taxon and per group";
  EXPECT_EQ(atlas_.out, Out("atlas") + ": " + std::to_string(taxa.size()) + " taxa, " +
                            std::to_string(maps) + " maps, atlas.csv, index.html\n");
}

TEST_F(AtlasCommand, RefusesBadRequestsBeforeWritingAnything) {
  const std::string foreign = Out("foreign");
  fs::create_directories(foreign);
  std::ofstream(foreign + "/notes.txt") << "mine";
  const std::string file = Out("a-file");
  std::ofstream(file) << "x";
  const std::string fresh = Out("fresh");
  const std::string huge = testing::SaveBmpDeclaringSize(30000, 20000, *folder_, "huge.bmp");
  const struct {
    std::string out;
    std::vector<std::string> more;
    std::string message;
  } cases[] = {
      {foreign,
       {},
       "--out '" + foreign +
           "' holds files but no atlas; give an empty or new "
           "folder, or --force to write the atlas into it all the same"},
      {file, {}, "--out '" + file + "' is there but is no folder"},
      {fresh, {"--periods", "1980,1950"}, "--periods must rise, but 1950 follows 1980"},
      {fresh, {"--periods", "1950,1950"}, "--periods names 1950 twice"},
      {fresh,
       {"--periods", "1"},
       "--periods takes whole numbers from 2 to 9999, separated by commas, not '1'"},
      {fresh,
       {"--periods", "2,3,4,5,6,7,8,9,10,11,12"},
       "--periods takes at most 10 numbers, not 11"},
      {fresh, {"--min-cells", "0"}, "--min-cells takes a whole number from 1"},
      {fresh, {"--format", "gif"}, "--format takes png, jpg or pdf, not 'gif'"},
      {fresh, {"--groups", "NOSUCHKEY"}, "--groups: the database has no taxon group key"},
      {fresh, {"--measure", "records"}, "unknown option '--measure'"},
  };
  for (const auto& c : cases) {
    const CommandResult r = Atlas(c.out, c.more);
    EXPECT_EQ(r.exitStatus, 2) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(r.err.rfind("velmora-map: " + c.message, 0), 0u) << r.err;
  }
  const CommandResult tooLarge =
      Map({"atlas", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "1",
           "--bmp", huge, "--out", fresh});
  EXPECT_EQ(tooLarge.exitStatus, 2);
  EXPECT_NE(tooLarge.err.find("802 megapixels, more than 500"), std::string::npos) << tooLarge.err;
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_EQ(std::distance(fs::directory_iterator(foreign), fs::directory_iterator()), 1);

  // A database where the atlas would put its data is no output, even forced.
  const std::string inside = Out("inside");
  fs::create_directories(inside);
  fs::copy_file(Db(), inside + "/atlas.csv");
  const CommandResult overDatabase =
      Map({"atlas", "--db", inside + "/atlas.csv", "--nw", "6508", "--se", "6711", "--system",
           "QYX", "--type", "1", "--bmp", Bmp(), "--out", inside, "--force"});
  EXPECT_EQ(overDatabase.exitStatus, 2);
  EXPECT_EQ(overDatabase.err, "velmora-map: --out '" + inside + "' would write '" + inside +
                                  "/atlas.csv', which is the --db file; choose another --out\n");
}

// A run into an earlier atlas replaces it: what the new one no longer makes
// is removed, files of others stay; --force writes into any folder.
TEST_F(AtlasCommand, ARerunReplacesItsOwnFilesAndLeavesOthers) {
  const std::string out = Out("rerun");
  ASSERT_EQ(Atlas(out).exitStatus, 0);
  std::ofstream(out + "/notes.txt") << "mine";
  std::ofstream(out + "/maps/mine.png") << "mine";
  const CommandResult again = Atlas(out, {"--min-cells", "10", "--format", "jpg"});
  ASSERT_EQ(again.exitStatus, 0) << again.err;
  std::set<std::string> extensions;
  for (const auto& entry : fs::directory_iterator(out + "/maps")) {
    if (entry.path().filename() != "mine.png") extensions.insert(entry.path().extension());
  }
  EXPECT_EQ(extensions, (std::set<std::string>{".jgw", ".jpg", ".xml"}));
  EXPECT_TRUE(fs::exists(out + "/notes.txt"));
  EXPECT_EQ(testing::ReadFileBytes(out + "/maps/mine.png"), "mine");

  const std::string foreign = Out("forced");
  fs::create_directories(foreign);
  std::ofstream(foreign + "/notes.txt") << "mine";
  EXPECT_EQ(Atlas(foreign, {"--force", "--format", "pdf"}).exitStatus, 0);
  EXPECT_TRUE(fs::exists(foreign + "/notes.txt"));
  for (const auto& entry : fs::directory_iterator(foreign + "/maps")) {
    EXPECT_EQ(testing::ReadFileBytes(entry.path().string()).substr(0, 5), "%PDF-");
  }
}

// Stopped at any moment, an atlas leaves no temporary file and no file cut
// short; run again, it is complete.
TEST_F(AtlasCommand, AnInterruptedAtlasLeavesOnlyCompleteFiles) {
  const std::string out = Out("interrupted");
  for (const char* seconds : {"0.3", "0.8", "1.5"}) {
    fs::remove_all(out);
    const std::vector<std::string> args = {
        "-s",   "TERM",  seconds, VELMORA_MAP_PATH, "atlas",    "--db", Db(),
        "--nw", "6508",  "--se",  "6711",           "--system", "QYX",  "--type",
        "1",    "--bmp", Bmp(),   "--out",          out};
    RunCommand("/usr/bin/timeout", args);
    if (!fs::exists(out)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file()) continue;
      EXPECT_TRUE(path.filename() == ".velmora-atlas" || !path.filename().string().starts_with("."))
          << path << " after " << seconds << " s";
      if (path.extension() == ".png") {
        EXPECT_FALSE(QImage(QString::fromStdString(path.string())).isNull()) << path;
      }
    }
  }
  ASSERT_EQ(Atlas(out).exitStatus, 0);
  EXPECT_TRUE(fs::exists(out + "/index.html"));
}

}  // namespace
}  // namespace velmora
