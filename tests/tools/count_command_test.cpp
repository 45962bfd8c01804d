// Golden tests of velmora-count count: what a count run prints, on a generated
// database, against the count engine run in this process on the same file.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "demo/demo_database.h"
#include "grid/geodll32.h"
#include "platform/db/database_session.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using velmora::testing::CommandResult;
using velmora::testing::RunCommand;

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

// What the engine's count run in the test is given beyond the map.
struct EngineOptions {
  std::vector<std::string> groups{};  // none: all of them
  std::vector<std::string> surveys{};
  YearRange years{};
  CountMeasure measure = CountMeasure::Taxa;
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

  // The dialog's count run of the demo extent, with the records counted too.
  static std::pair<MapState, CountResult> Engine(int gridType, int gridSystem,
                                                 const EngineOptions& options = {}) {
    LoadGeodeticLibrary();
    const std::vector<CheckedKey> groups = Checked(LoadTaxonGroups, options.groups);
    const std::vector<CheckedKey> surveys = Checked(LoadSurveys, options.surveys);
    DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + Db());
    MapState map;
    BuildCellList({gridType, gridSystem, Extent::Read("6508", "6711"), ""}, map);
    NullProgress progress;
    CountResult result = CountDatabase(session, map,
                                       {.gridType = &kGridTypes[gridType],
                                        .taxonGroupKeys = CheckedKeyList(groups),
                                        .surveyKeys = CheckedKeyList(surveys),
                                        .years = options.years,
                                        .measure = options.measure,
                                        .countRecords = true},
                                       progress);
    return {std::move(map), std::move(result)};
  }

  // What the count run leaves in the cells, as "code<sep>count" lines.
  static std::string EngineCounts(int gridType, int gridSystem, char separator,
                                  const EngineOptions& options = {}) {
    std::string lines;
    for (const auto& row : Engine(gridType, gridSystem, options).first.Grids) {
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
  if (const auto missing = testing::WhyNoPseudoTerminal()) GTEST_SKIP() << *missing;
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

// Lines of a CSV text without its header, split at the commas.
std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, ',');) fields.push_back(field);
    rows.push_back(std::move(fields));
  }
  return rows;
}

TEST_F(CountCommand, CsvGivesTaxaRecordsAndCentresThatConvertBackToTheirCells) {
  const struct {
    int type;
    int system;
    const char* code;
  } runs[] = {{3, 1, "QQQ"}, {4, 0, "QYX"}, {0, 0, "QYX"}};
  for (const auto& run : runs) {
    SCOPED_TRACE(kGridTypes[run.type].name);
    const CommandResult r =
        Count({"--db", Db(), "--nw", "6508", "--se", "6711", "--system", run.code, "--type",
               std::to_string(run.type), "--format", "csv"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("code,taxa,records,latitude,longitude\n")) << r.out;
    const std::vector<std::vector<std::string>> rows = CsvRows(r.out);
    const CountResult engine = Engine(run.type, run.system).second;
    ASSERT_EQ(rows.size(), engine.cells.size());
    std::string points, codes;
    for (size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows[i].size(), 5u);
      EXPECT_EQ(rows[i][0], engine.cells[i].code);
      EXPECT_EQ(rows[i][1], std::to_string(engine.cells[i].taxa));
      EXPECT_EQ(rows[i][2], std::to_string(*engine.cells[i].records));
      points += rows[i][3] + " " + rows[i][4] + "\n";
      codes += rows[i][0] + "\n";
    }
    // The full codes of the centres, cut to the grid type's codes.
    const CommandResult back =
        RunCommand(VELMORA_COUNT_PATH, {"convert", "--system", run.code}, points);
    ASSERT_EQ(back.exitStatus, 0) << back.err;
    std::string cut;
    std::istringstream lines(back.out);
    for (std::string line; std::getline(lines, line);) {
      cut += line.substr(0, line.starts_with('W') ? kGridTypes[run.type].codeLength + 1
                                                  : kGridTypes[run.type].codeLength) +
             "\n";
    }
    EXPECT_EQ(cut, codes);
  }
  EXPECT_EQ(Count({"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0",
                   "--csv"})
                .out,
            Count({"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0",
                   "--format", "csv"})
                .out)
      << "--csv is short for --format csv";
}

// Whether the point lies inside the ring (crossings of a ray to the east).
bool Contains(const QJsonArray& ring, double longitude, double latitude) {
  bool inside = false;
  for (qsizetype i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const double xi = ring[i][0].toDouble(), yi = ring[i][1].toDouble();
    const double xj = ring[j][0].toDouble(), yj = ring[j][1].toDouble();
    if ((yi > latitude) != (yj > latitude) &&
        longitude < (xj - xi) * (latitude - yi) / (yj - yi) + xi) {
      inside = !inside;
    }
  }
  return inside;
}

// Twice the area the ring encloses, positive when it runs counter-clockwise.
double SignedArea(const QJsonArray& ring) {
  double area = 0;
  for (qsizetype i = 0; i + 1 < ring.size(); ++i) {
    area += ring[i][0].toDouble() * ring[i + 1][1].toDouble() -
            ring[i + 1][0].toDouble() * ring[i][1].toDouble();
  }
  return area;
}

TEST_F(CountCommand, GeoJsonCellsArePolygonsAroundTheirCentresThatAGisOpens) {
  const std::vector<std::string> map = {"--db", Db(),       "--nw", "6508",   "--se",
                                        "6711", "--system", "QYX",  "--type", "1"};
  std::vector<std::string> geojsonArgs = map, csvArgs = map;
  geojsonArgs.insert(geojsonArgs.end(), {"--format", "geojson"});
  csvArgs.insert(csvArgs.end(), {"--format", "csv"});
  const CommandResult r = Count(geojsonArgs);
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::vector<std::vector<std::string>> centres = CsvRows(Count(csvArgs).out);

  const std::string file = (folder_->Path() / "counts.geojson").string();
  testing::WriteFileBytes(file, r.out);
  const CommandResult ogrinfo = RunCommand("/usr/bin/ogrinfo", {"-ro", "-al", "-so", file});
  ASSERT_EQ(ogrinfo.exitStatus, 0) << ogrinfo.err;
  EXPECT_NE(ogrinfo.out.find("Geometry: Polygon"), std::string::npos) << ogrinfo.out;
  EXPECT_NE(ogrinfo.out.find("Feature Count: " + std::to_string(centres.size()) + "\n"),
            std::string::npos)
      << ogrinfo.out;
  EXPECT_NE(ogrinfo.out.find("code: String"), std::string::npos) << ogrinfo.out;
  EXPECT_NE(ogrinfo.out.find("taxa: Integer"), std::string::npos) << ogrinfo.out;
  EXPECT_NE(ogrinfo.out.find("records: Integer"), std::string::npos) << ogrinfo.out;

  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  EXPECT_EQ(document["type"].toString(), "FeatureCollection");
  const QJsonArray features = document["features"].toArray();
  ASSERT_EQ(features.size(), static_cast<qsizetype>(centres.size()));
  for (qsizetype i = 0; i < features.size(); ++i) {
    const std::vector<std::string>& centre = centres[i];
    SCOPED_TRACE(centre[0]);
    const QJsonObject properties = features[i]["properties"].toObject();
    EXPECT_EQ(properties["code"].toString().toStdString(), centre[0]);
    EXPECT_EQ(properties["taxa"].toInt(), std::stoi(centre[1]));
    EXPECT_EQ(properties["records"].toInt(), std::stoi(centre[2]));
    const QJsonObject geometry = features[i]["geometry"].toObject();
    EXPECT_EQ(geometry["type"].toString(), "Polygon");
    const QJsonArray ring = geometry["coordinates"][0].toArray();
    ASSERT_EQ(ring.size(), 9) << "corners and edge midpoints, closed";
    EXPECT_EQ(ring.first(), ring.last());
    EXPECT_GT(SignedArea(ring), 0) << "counter-clockwise";
    const double latitude = std::stod(centre[3]), longitude = std::stod(centre[4]);
    EXPECT_TRUE(Contains(ring, longitude, latitude)) << "longitude first, around the centre";
    EXPECT_FALSE(Contains(ring, latitude, longitude));
  }
}

TEST_F(CountCommand, YearsAndTheMeasureChooseWhatTheNumbersShow) {
  const std::vector<std::string> map = {"--db", Db(),       "--nw", "6508",   "--se",
                                        "6711", "--system", "QYX",  "--type", "1"};
  const auto count = [&](std::vector<std::string> more) {
    more.insert(more.begin(), map.begin(), map.end());
    return Count(more);
  };
  const CommandResult records = count({"--measure", "records"});
  ASSERT_EQ(records.exitStatus, 0) << records.err;
  EXPECT_EQ(records.out, EngineCounts(1, 0, '\t', {.measure = CountMeasure::Records}));
  EXPECT_NE(records.out, count({}).out);

  const CommandResult years = count({"--from", "1995", "--to", "2004"});
  ASSERT_EQ(years.exitStatus, 0) << years.err;
  EXPECT_EQ(years.out, EngineCounts(1, 0, '\t', {.years = {1995, 2004}}));
  EXPECT_NE(years.out, count({}).out);
  EXPECT_EQ(count({"--from", "2010", "--measure", "records"}).out,
            EngineCounts(1, 0, '\t', {.years = {2010, {}}, .measure = CountMeasure::Records}));
  EXPECT_EQ(count({"--to", "1990"}).out, EngineCounts(1, 0, '\t', {.years = {{}, 1990}}));

  // Through the ODBC driver manager the database gives the same numbers.
  const std::vector<std::string> limits = {"--from",    "1995",    "--to",     "2004",
                                           "--measure", "records", "--format", "csv"};
  std::vector<std::string> embedded = map;
  embedded.insert(embedded.end(), limits.begin(), limits.end());
  std::vector<std::string> odbc = embedded;
  odbc[0] = "--connect";
  odbc[1] = testing::TestConnectionString(testing::Backend::Odbc, Db());
  const CommandResult throughOdbc = Count(odbc);
  ASSERT_EQ(throughOdbc.exitStatus, 0) << throughOdbc.err;
  EXPECT_EQ(throughOdbc.out, Count(embedded).out);
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
  EXPECT_EQ(chosen.out,
            EngineCounts(1, 0, '\t',
                         {.groups = {groups[0].key, groups[2].key}, .surveys = {surveys[1].key}}));
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

// A comma, tab, line feed, carriage return or backslash in a key or name
// would break the lines or the key list: listed escaped, each item stays on
// its line, and a key given back as listed chooses its item.
TEST_F(CountCommand, OddKeysAndNamesAreListedEscapedAndTakenBackAsListed) {
  const std::string db = (folder_->Path() / "odd_keys.db").string();
  std::filesystem::copy_file(Db(), db, std::filesystem::copy_options::overwrite_existing);
  {
    DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + db);
    session.ExecuteNoRecords(
        "INSERT INTO TAXON_GROUP VALUES ('G,1' || char(9) || '\\', 'K' || char(10) || 'W', -1)");
    session.ExecuteNoRecords("INSERT INTO SURVEY VALUES ('S,1', 'A, B' || char(13), 'R')");
  }
  const CommandResult groups = RunCommand(VELMORA_COUNT_PATH, {"groups", "--db", db});
  EXPECT_EQ(groups.out.substr(0, groups.out.find('\n') + 1), "G\\,1\\t\\\\\tK\\nW\n");
  const CommandResult surveys = RunCommand(VELMORA_COUNT_PATH, {"surveys", "--db", db});
  EXPECT_NE(("\n" + surveys.out).find("\nS\\,1\tA, B\\r\n"), std::string::npos) << surveys.out;

  const CommandResult chosen = RunCommand(
      VELMORA_COUNT_PATH, {"count", "--db", db, "--nw", "6508", "--se", "6711", "--system", "QYX",
                           "--type", "1", "--groups", "G\\,1\\t\\\\", "--surveys", "S\\,1"});
  EXPECT_EQ(chosen.exitStatus, 0) << chosen.err;
  EXPECT_EQ(chosen.out, "") << "the new group and survey have no records";
}

TEST_F(CountCommand, BadArgumentsAndDatabaseErrors) {
  const std::string notADatabase = (folder_->Path() / "text.db").string();
  std::ofstream(notADatabase) << "this is not a database, it is a text file of some length\n";
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
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--format",
        "xml"},
       2,
       "--format takes tsv, csv or geojson, not 'xml'"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--csv",
        "--format", "csv"},
       2,
       "--csv is short for --format csv; give one of them"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--measure",
        "species"},
       2,
       "--measure takes taxa or records, not 'species'"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--from",
        "0"},
       2,
       "--from takes a whole number from 1 to 9999, not '0'"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--to",
        "1990s"},
       2,
       "--to takes a whole number from 1 to 9999, not '1990s'"},
      {{"--db", Db(), "--nw", "6508", "--se", "6711", "--system", "QYX", "--type", "0", "--from",
        "2020", "--to", "2010"},
       2,
       "--from 2020 lies after --to 2010"},
      {{"--db", folder_->Path().string(), "--nw", "6508", "--se", "6711", "--system", "QYX",
        "--type", "0"},
       2,
       "is not a database file"},
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

// The path is the file's name as given: neither cut at a ';' nor stripped of
// blanks, where a file of the shorter name would be counted instead.
TEST_F(CountCommand, ADatabasePathIsTakenAsGiven) {
  const auto in = [](const std::string& name) { return (folder_->Path() / name).string(); };
  std::ofstream(in("blank.db")) << "this is not a database, it is a text file of some length\n";
  const std::vector<std::string> args = {"--nw",     "6508", "--se",   "6711",
                                         "--system", "QYX",  "--type", "0"};
  const std::string expected = EngineCounts(0, 0, '\t');
  for (const std::string name : {"blank.db ", "blank.db\t", "demo.db;copy.db"}) {
    std::filesystem::copy_file(Db(), in(name), std::filesystem::copy_options::skip_existing);
    std::vector<std::string> command = {"--db", in(name)};
    command.insert(command.end(), args.begin(), args.end());
    const CommandResult r = Count(command);
    EXPECT_EQ(r.exitStatus, 0) << name << ": " << r.err;
    EXPECT_EQ(r.out, expected) << name;
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
