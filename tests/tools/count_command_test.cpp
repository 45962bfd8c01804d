// Golden tests of velmora-count count: what a count run prints, on a generated
// database, against the count engine run in this process on the same file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

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

  // What the dialog's count run leaves in the cells, as "code<sep>count" lines.
  static std::string EngineCounts(int gridType, int gridSystem, char separator) {
    LoadGeodeticLibrary();
    DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + Db());
    std::vector<CheckedKey> groups, surveys;
    LoadTaxonGroups(session, [&](SelectionItem i) { groups.push_back({i.key, true}); });
    LoadSurveys(session, [&](SelectionItem i) { surveys.push_back({i.key, true}); });
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

TEST_F(CountCommand, KeyListsChooseWhatIsCounted) {
  const CommandResult none = Count({"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX",
                                    "--type", "0", "--groups", "NOSUCHKEY"});
  ASSERT_EQ(none.exitStatus, 0) << none.err;
  EXPECT_EQ(none.out, "") << "no group key matches: every cell stays at 0";
  const CommandResult quoted = Count({"--db", Db(), "--nw", "6508", "--se", "6711", "--system",
                                      "QYX", "--type", "0", "--surveys", "X') OR ('1'='1"});
  ASSERT_EQ(quoted.exitStatus, 0) << quoted.err;
  EXPECT_EQ(quoted.out, "") << "a key cannot change the statement";
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
