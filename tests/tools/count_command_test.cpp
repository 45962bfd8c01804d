// Golden tests of velmora-count count: what a count run prints, on a generated
// database, against the count engine run in this process on the same file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "demo_database.h"
#include "grid/geodll32.h"
#include "run_command.h"
#include "temp_folder.h"

namespace velmora {
namespace {

using velmora::testing::CommandResult;
using velmora::testing::RunCommand;

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

class CountCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testing::TempFolder>();
    demo::DemoOptions options;
    options.samples = 1500;
    demo::WriteDemoDatabase(Db(), options);
  }
  static void TearDownTestSuite() { folder_.reset(); }
  static std::string Db() { return (folder_->Path() / "demo.db").string(); }

  static CommandResult Count(std::vector<std::string> args) {
    args.insert(args.begin(), "count");
    return RunCommand(VELMORA_COUNT_PATH, args);
  }

  static std::vector<SelectionItem> Items(void (*load)(DatabaseSession&,
                                                       const AppendSelectionItem&)) {
    DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + Db());
    std::vector<SelectionItem> items;
    load(session, [&](SelectionItem i) { items.push_back(std::move(i)); });
    return items;
  }

  // The dialog's list with the given keys checked, or all of them.
  static std::vector<CheckedKey> Checked(void (*load)(DatabaseSession&, const AppendSelectionItem&),
                                         const std::vector<std::string>& keys) {
    std::vector<CheckedKey> list;
    for (const SelectionItem& item : Items(load)) {
      list.push_back({item.key, keys.empty() || std::ranges::count(keys, item.key) > 0});
    }
    return list;
  }

  // What the dialog's count run leaves in the cells, as "code<sep>count" lines.
  static std::string EngineCounts(int gridType, int gridSystem, char separator,
                                  const std::vector<std::string>& groupKeys = {},
                                  const std::vector<std::string>& surveyKeys = {}) {
    LoadGeodeticLibrary();
    const std::vector<CheckedKey> groups = Checked(LoadTaxonGroups, groupKeys);
    const std::vector<CheckedKey> surveys = Checked(LoadSurveys, surveyKeys);
    DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + Db());
    MapState map;
    BuildCellList({gridType, gridSystem, Extent::Read("6508", "6711"), ""}, map);
    NullProgress progress;
    CountDatabase(session, map,
                  {.gridType = &kGridTypes[gridType],
                   .taxonGroupKeys = CheckedKeyList(groups),
                   .surveyKeys = CheckedKeyList(surveys)},
                  progress);
    std::string lines;
    for (const auto& row : map.Grids) {
      for (const TGrid& cell : row) {
        if (cell.Count != "0") lines += cell.Code + separator + cell.Count + "\n";
      }
    }
    return lines;
  }

  static std::unique_ptr<testing::TempFolder> folder_;
};

std::unique_ptr<testing::TempFolder> CountCommand::folder_;

TEST_F(CountCommand, PrintsTheCountedCellsInCellListOrder) {
  const CommandResult r = Count(
      {"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "Quadranten"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, EngineCounts(1, 0, '\t'));
  EXPECT_GT(std::count(r.out.begin(), r.out.end(), '\n'), 10);
  EXPECT_EQ(r.err,
            "Hole Aufnahmen...\nErrechne Raster...\nEntferne überflüssige Raster...\n"
            "Hole Beobachtungen...\nZähle Datensätze...\nÜbertrage Auszählergebnisse\n")
      << "status texts on stderr, no bar when stderr is no terminal";
}

TEST_F(CountCommand, OnATerminalTheBarFollowsTheTextsAndEndsAtOneHundredPercent) {
  const CommandResult r = testing::RunCommandOnTerminal(
      VELMORA_COUNT_PATH, {"count", "--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX",
                           "--type", "Quadranten"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, EngineCounts(1, 0, '\t')) << "the bar stays off standard output";
  const std::string full = "\r[" + std::string(50, '#') + "] 100%\n";
  ASSERT_GE(r.err.size(), full.size());
  EXPECT_EQ(r.err.substr(r.err.size() - full.size()), full) << r.err;
  EXPECT_NE(r.err.find("Übertrage Auszählergebnisse\n"), std::string::npos) << r.err;
}

TEST_F(CountCommand, CsvHasAHeaderAndTheSameCounts) {
  const CommandResult r = Count(
      {"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QQQ", "--type", "3", "--csv"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "code,count\n" + EngineCounts(3, 1, ','));
}

TEST_F(CountCommand, KeyListsChooseWhatIsCountedAndUnknownKeysAreRefused) {
  const std::vector<SelectionItem> groups = Items(LoadTaxonGroups);
  const std::vector<SelectionItem> surveys = Items(LoadSurveys);
  ASSERT_GE(groups.size(), 3u);
  ASSERT_GE(surveys.size(), 2u);
  const std::vector<std::string> map = {"--db", Db(),       "--nw", "6508",   "--se",
                                        "6711", "--system", "QYX",  "--type", "1"};
  const auto count = [&](std::vector<std::string> more) {
    more.insert(more.begin(), map.begin(), map.end());
    return Count(more);
  };
  // Given in another order than the list's: the dialog's lists check them in theirs.
  const CommandResult chosen =
      count({"--groups", groups[2].key + "," + groups[0].key, "--surveys", surveys[1].key});
  ASSERT_EQ(chosen.exitStatus, 0) << chosen.err;
  EXPECT_EQ(chosen.out, EngineCounts(1, 0, '\t', {groups[0].key, groups[2].key}, {surveys[1].key}));
  EXPECT_NE(chosen.out, count({}).out) << "a smaller selection counts less";

  const struct {
    std::vector<std::string> more;
    std::string message;
  } refused[] = {
      {{"--groups", "NOSUCHKEY"},
       "velmora-count: --groups: the database has no taxon group key 'NOSUCHKEY' (velmora-count "
       "groups lists its keys)\n"},
      {{"--groups", groups[0].key + ",X1,X2,X1"},
       "velmora-count: --groups: the database has no taxon group keys 'X1', 'X2' (velmora-count "
       "groups lists its keys)\n"},
      {{"--surveys", "X') OR ('1'='1"},
       "velmora-count: --surveys: the database has no survey key 'X') OR ('1'='1' (velmora-count "
       "surveys lists its keys)\n"},
  };
  for (const auto& r : refused) {
    const CommandResult result = count(r.more);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, r.message);
  }
}

TEST_F(CountCommand, GroupsAndSurveysAreListedAsTheDialogListsThem) {
  for (const auto& [command, load] :
       {std::pair{"groups", &LoadTaxonGroups}, std::pair{"surveys", &LoadSurveys}}) {
    std::string expected;
    for (const SelectionItem& item : Items(load)) expected += item.key + "\t" + item.name + "\n";
    const CommandResult r = RunCommand(VELMORA_COUNT_PATH, {command, "--db", Db()});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected) << command;
    EXPECT_EQ(RunCommand(VELMORA_COUNT_PATH,
                         {command, "--connect", "Provider=SQLite;Data Source=" + Db()})
                  .out,
              expected);
  }
  EXPECT_EQ(RunCommand(VELMORA_COUNT_PATH, {"groups", "--db", Db()}).out.substr(0, 17),
            Items(LoadTaxonGroups)[0].key + "\t");

  const struct {
    std::vector<std::string> args;
    std::string message;
  } refused[] = {
      {{"groups"}, "velmora-count: give the database with exactly one of --db and --connect\n"},
      {{"surveys", "--db", Db(), "extra"},
       "velmora-count: unknown argument 'extra'\nusage: velmora-count surveys (--db PATH | "
       "--connect TEXT)\n"},
      {{"groups", "--db", "/no/such.db"},
       "velmora-count: the database file '/no/such.db' does not exist\n"},
  };
  for (const auto& r : refused) {
    const CommandResult result = RunCommand(VELMORA_COUNT_PATH, r.args);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, r.message);
  }
}

TEST_F(CountCommand, BadArgumentsAndDatabaseErrors) {
  const std::string notADatabase = (folder_->Path() / "text.db").string();
  std::ofstream(notADatabase) << "this is not a database, it is a text file of some length\n";
  // Would open demo.db itself if the path were cut at its ';'.
  const std::string withSemicolon = Db() + ";copy.db";
  std::filesystem::copy_file(Db(), withSemicolon, std::filesystem::copy_options::skip_existing);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string says;
  };
  const std::vector<Case> cases = {
      {{"--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0"}, 2, "--db"},
      {{"--db", Db(), "--se", "6711", "--system", "QYX", "--type", "0"}, 2, "--nw"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "XYZ", "--type", "0"}, 2, "XYZ"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "3"},
       2,
       "16tel-Quadranten"},
      {{"--db", Db(), "--nw", "65O8", "--se", "6711", "--system", "QYX", "--type", "0"}, 2, "65O8"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--bogus"},
       2,
       "--bogus"},
      {{"--db", "/no/such.db", "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0"},
       2,
       "/no/such.db"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--groups",
        "G1,,G2"},
       2,
       "empty key"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--surveys",
        ""},
       2,
       "empty key"},
      {{"--db", folder_->Path().string(), "--nw", "6508", "--se", "6711", "--system", "QYX",
        "--type", "0"},
       2,
       "is not a database file"},
      {{"--db", withSemicolon, "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0"},
       2,
       "contains ';'"},
      {{"--db", notADatabase, "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0"},
       1,
       "not a database"},
  };
  for (const Case& c : cases) {
    const CommandResult r = Count(c.args);
    EXPECT_EQ(r.exitStatus, c.status) << c.says;
    EXPECT_EQ(r.out, "") << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
}

// Another program holds the database in a write transaction: the count gives
// up after the connection time-out of its opening (15 seconds) with the
// database's own message, instead of waiting for ever.
TEST_F(CountCommand, ALockedDatabaseFailsWithTheDatabasesMessage) {
  DatabaseSession holder;
  holder.Open("Provider=SQLite;Data Source=" + Db());
  holder.ExecuteNoRecords("BEGIN EXCLUSIVE");
  holder.ExecuteNoRecords("UPDATE SURVEY SET ITEM_NAME = ITEM_NAME");
  const CommandResult r = Count(
      {"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "Quadranten"});
  holder.ExecuteNoRecords("ROLLBACK");
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "velmora-count: database is locked\n");
}

}  // namespace
}  // namespace velmora
