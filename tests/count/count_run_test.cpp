// Sample assignment and the count, run on small host databases made by the test.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "count/statements/sample_assignment.h"
#include "grid/geodll32.h"
#include "host_fixture.h"
#include "platform/db/connection_string.h"
#include "platform/errors.h"
#include "support/run_command.h"

namespace velmora {
namespace {

using testing::Backend;
using testing::HostFixture;
using testing::MinuteFieldCentre;
using testing::Point;
using testing::Record;

class RecordingProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string& text) override { texts.push_back(text); }
  void SetProgressPosition(int percent) override { positions.push_back(percent); }
  std::vector<std::string> texts;
  std::vector<int> positions;
};

MapState Map(const std::string& nw, const std::string& se, int gridType, int gridSystem) {
  MapState map;
  BuildCellList({gridType, gridSystem, Extent::Read(nw, se), ""}, map);
  return map;
}

// Sample key -> code, as the sample table holds it after the assignment.
std::map<std::string, std::string> Assigned(HostFixture& host, const MapState& map, int gridType) {
  RecordingProgress progress;
  AssignSampleCells(host.Session(), map, &kGridTypes[gridType], {}, progress);
  std::map<std::string, std::string> codes;
  const auto rows = host.Session().OpenQuery("SELECT sample_key, grid FROM temp.sample_grid");
  for (; !rows->AtEnd(); rows->Next()) {
    codes[VariantToText(rows->FieldValue(0))] = VariantToText(rows->FieldValue(1));
  }
  return codes;
}

// Code -> count of every counted cell of the map.
std::map<std::string, std::string> Counted(HostFixture& host, MapState& map, int gridType,
                                           std::string_view groups = "'G1'",
                                           std::string_view surveys = "'SURVEY01'") {
  RecordingProgress progress;
  CountDatabase(host.Session(), map,
                {.gridType = &kGridTypes[gridType],
                 .taxonGroupKeys = std::string(groups),
                 .surveyKeys = std::string(surveys)},
                progress);
  std::map<std::string, std::string> counts;
  for (const auto& row : map.Grids) {
    for (const TGrid& cell : row) {
      if (cell.Count != "0") counts[cell.Code] = cell.Count;
    }
  }
  return counts;
}

class CountRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadGeodeticLibrary(); }

  void AddPoint(HostFixture& host, const std::string& key, Point p) {
    host.AddSample(key, p.latitude, p.longitude);
  }
};

// Sheet 6508 is sheet row 65, column 8: the centre of its minute field at rho 2,
// kappa 8 is 6508/234, and as a progressive quadrant it lies in 6508/243.
TEST_F(CountRun, TakesOverGridReferencesByGridType) {
  HostFixture host;
  host.AddSample("QQQ", 49.43, 7.04, "QQQ", "6508/214");
  host.AddSample("QYX", 49.43, 7.04, "QYX", "6508/123");
  const Point p = MinuteFieldCentre(65, 8, 2, 8);
  host.AddSample("POINT", p.latitude, p.longitude, "OSGB", "SU 123 456");
  // Without a system the coordinates are all there is: the sample is converted.
  const Point q = MinuteFieldCentre(65, 8, 5, 0);
  host.AddSample("NOSYSTEM", q.latitude, q.longitude, std::nullopt, "6508/1");

  const std::map<std::string, std::string> expected[] = {
      {{"QQQ", "6508/214"}, {"QYX", "6508/123"}, {"POINT", "6508/234"}, {"NOSYSTEM", "6508/331"}},
      {{"QQQ", "6508/214"}, {"QYX", "6508/123"}, {"POINT", "6508/234"}, {"NOSYSTEM", "6508/331"}},
      {{"QQQ", "6508/214"}, {"POINT", "6508/243"}, {"NOSYSTEM", "6508/333"}},
      {{"QQQ", "6508/214"}, {"POINT", "6508/243"}, {"NOSYSTEM", "6508/333"}},
      {{"QYX", "6508/123"}, {"POINT", "6508/234"}, {"NOSYSTEM", "6508/331"}},
  };
  for (int type = 0; type < 5; ++type) {
    const int system = type == 2 || type == 3 ? 1 : 0;
    EXPECT_EQ(Assigned(host, Map("6508", "6508", type, system), type), expected[type])
        << "grid type " << type;
  }
}

// The count writes the taken-over samples among the converted ones, in the
// order of their keys, each with the values it was read with.
TEST_F(CountRun, CountKeepsTakenOverAndConvertedSamplesWithTheirValues) {
  HostFixture host;
  const Point p = MinuteFieldCentre(65, 8, 2, 8);
  host.AddSample("A1", p.latitude, p.longitude);
  host.AddSample("A2", 49.43, std::nullopt, "QYX", "6508/123");
  host.AddSample("A3", p.latitude, p.longitude, "OSGB", "SU 123 456");
  host.AddSample("A4", 49.43, 7.04, "QYX", "6508/431");
  host.AddSample("A5", 49.43, 7.04, "QYX", "9999/111");
  MapState map = Map("6508", "6508", 4, 0);
  Counted(host, map, 4);
  std::vector<std::string> rows;
  const auto read = host.Session().OpenQuery(
      "SELECT grid, gridtype, sample_key, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, Long FROM "
      "temp.sample_grid ORDER BY sample_key");
  for (; !read->AtEnd(); read->Next()) {
    std::string row;
    for (int column = 0; column < 7; ++column) {
      const Variant value = read->FieldValue(column);
      row += std::holds_alternative<std::monostate>(value) ? "NULL" : VariantToText(value);
      row += '|';
    }
    rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].substr(0, 26), "6508/234|QYX|A1|NULL|LTLN|");
  EXPECT_EQ(rows[1], "6508/123|QYX|A2|6508/123|QYX|49.43|NULL|");
  EXPECT_EQ(rows[2].substr(0, 32), "6508/234|QYX|A3|SU 123 456|OSGB|");
  EXPECT_EQ(rows[3], "6508/431|QYX|A4|6508/431|QYX|49.43|7.04|");
}

TEST_F(CountRun, RemovesSamplesWithoutCodeOrOutsideTheSheets) {
  HostFixture host;
  host.AddSample("NOLAT", std::nullopt, 7.04, "QQQ", "6508/214");
  host.AddSample("NOLONG", 49.43, std::nullopt);
  host.AddSample("FARAWAY", 60.0, 7.04);
  host.AddSample("OUTSIDE", 49.43, 7.04, "QQQ", "6608/214");
  host.AddSample("BARE", 49.43, 7.04, "QQQ", "6509");
  host.AddSample("TOOLONG", 49.43, 7.04, "QQQ", "6508/2141234");
  AddPoint(host, "INSIDE", MinuteFieldCentre(65, 9, 0, 0));
  EXPECT_EQ(Assigned(host, Map("6508", "6509", 0, 0), 0),
            (std::map<std::string, std::string>{{"BARE", "6509"}, {"INSIDE", "6509/111"}}));
}

// Only cell codes of the reference's own system are taken over; a junk
// reference gets no code, however much of it looks like one.
TEST_F(CountRun, TakesOverOnlyCellCodesOfTheirOwnSystem) {
  HostFixture host;
  const std::pair<const char*, const char*> junk[] = {
      {"QYX", "6509/2zz"},  {"QYX", "6509/\xF0\x9F\x92\xA5"},
      {"QYX", "6509/1111"}, {"QYX", "6509/12"},
      {"QYX", "6509/141"},  {"QYX", "6509/136"},
      {"QQQ", "6509/5"},    {"QQQ", "6509/135"},
      {"QQQ", "6509/"},     {"QQQ", "650"},
      {"QQQ", "w5099/1"},   {"QQQ", " 6509/1"},
      {"QQQ", "6509/1 "},   {"QQQ", "6509/0"},
  };
  int n = 0;
  for (const auto& [system, reference] : junk) {
    host.AddSample("JUNK" + std::to_string(++n), 49.43, 7.24, system, reference);
  }
  host.AddSample("QUADRANT", 49.43, 7.24, "QYX", "6509/2");
  host.AddSample("MINUTES", 49.43, 7.24, "QYX", "6509/135");
  host.AddSample("QUARTERS", 49.43, 7.24, "QQQ", "6509/44");
  host.AddSample("WEST", 49.43, 7.24, "QQQ", "W6599/1");
  EXPECT_EQ(Assigned(host, Map("W6599", "6509", 1, 0), 1),
            (std::map<std::string, std::string>{{"QUADRANT", "6509/2"},
                                                {"MINUTES", "6509/135"},
                                                {"QUARTERS", "6509/44"},
                                                {"WEST", "W6599/1"}}));
  EXPECT_EQ(Assigned(host, Map("6509", "6509", 2, 1), 2),
            (std::map<std::string, std::string>{{"QUARTERS", "6509/44"}}));
}

TEST_F(CountRun, ExtentWithoutSheetsRemovesEverySample) {
  HostFixture host;
  AddPoint(host, "INSIDE", MinuteFieldCentre(65, 8, 0, 0));
  const MapState noColumns = Map("6508", "6601", 0, 0);
  ASSERT_EQ(noColumns.SheetColumns, 0);
  EXPECT_TRUE(Assigned(host, noColumns, 0).empty());
}

TEST_F(CountRun, RepeatedRunsGiveTheSameTable) {
  HostFixture host;
  AddPoint(host, "A", MinuteFieldCentre(65, 8, 0, 0));
  host.AddSample("B", 49.43, 7.04, "QYX", "6508/123");
  const MapState map = Map("6508", "6508", 4, 0);
  const auto once = Assigned(host, map, 4);
  EXPECT_EQ(Assigned(host, map, 4), once);
  EXPECT_EQ(once.size(), 2u);
}

TEST_F(CountRun, EmptySampleTableStillRunsEveryStep) {
  HostFixture host;
  RecordingProgress progress;
  MapState map = Map("6508", "6508", 1, 0);
  CountDatabase(host.Session(), map,
                {.gridType = &kGridTypes[1], .taxonGroupKeys = "'G1'", .surveyKeys = "'SURVEY01'"},
                progress);
  EXPECT_EQ(progress.texts,
            (std::vector<std::string>{"Hole Aufnahmen...", "Errechne Raster...",
                                      "Entferne überflüssige Raster...", "Hole Beobachtungen...",
                                      "Zähle Datensätze..."}));
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 0, 25, 50, 75, 100, 0, 50}));
}

TEST_F(CountRun, ProgressOfTheConversionEndsAtOneHundred) {
  HostFixture host;
  for (int i = 0; i < 10; ++i)
    AddPoint(host, "S" + std::to_string(i), MinuteFieldCentre(65, 8, 0, i));
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddRecord("S3", "T1");
  RecordingProgress progress;
  MapState map = Map("6508", "6508", 4, 0);
  CountDatabase(host.Session(), map,
                {.gridType = &kGridTypes[4], .taxonGroupKeys = "'G1'", .surveyKeys = "'SURVEY01'"},
                progress);
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 0,  100, 0,  25, 50, 75, 100, 0,  50, 0,
                                                  0, 10, 20,  30, 40, 50, 60, 70,  80, 90}));
  EXPECT_EQ(progress.texts.back(), "Übertrage Auszählergebnisse");
}

TEST_F(CountRun, CountsDistinctRecommendedTaxaPerCell) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Gefäßpflanzen", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  host.AddTaxon("T1SYN", "G1", "T1");  // a synonym of T1
  for (int i = 0; i < 10; ++i) {
    AddPoint(host, "A" + std::to_string(i), MinuteFieldCentre(65, 8, 0, 0));
    host.AddRecord("A" + std::to_string(i), "T1");
  }
  host.AddRecord("A0", "T1SYN");
  AddPoint(host, "B", MinuteFieldCentre(65, 8, 5, 9));
  host.AddRecord("B", "T1");
  host.AddRecord("B", "T2");

  MapState minutes = Map("6508", "6508", 4, 0);
  EXPECT_EQ(Counted(host, minutes, 4),
            (std::map<std::string, std::string>{{"6508/111", "1"}, {"6508/435", "2"}}));
  MapState sheet = Map("6508", "6508", 0, 0);
  EXPECT_EQ(Counted(host, sheet, 0), (std::map<std::string, std::string>{{"6508", "2"}}));
  MapState quadrants = Map("6508", "6508", 1, 0);
  EXPECT_EQ(Counted(host, quadrants, 1),
            (std::map<std::string, std::string>{{"6508/1", "1"}, {"6508/4", "2"}}));
}

TEST_F(CountRun, CountsOnlyQualifyingRecordsOfTheChosenGroupsAndSurveys) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxonGroup("G2", "Libellen", 2);
  host.AddSurvey("SURVEY02", "Atlas");
  const Record kinds[] = {
      {.confidential = true}, {.zeroAbundance = true}, {.checked = false}, {.preferred = false}};
  for (int i = 0; i < 4; ++i) {
    host.AddTaxon("BAD" + std::to_string(i), "G1");
    AddPoint(host, "S" + std::to_string(i), MinuteFieldCentre(65, 8, 0, 0));
    host.AddRecord("S" + std::to_string(i), "BAD" + std::to_string(i), kinds[i]);
  }
  host.AddTaxon("DRAGONFLY", "G2");
  host.AddRecord("S0", "DRAGONFLY");
  host.AddTaxon("BIRD", "G1");
  const Point p = MinuteFieldCentre(65, 8, 0, 0);
  host.AddSample("OTHER", p.latitude, p.longitude, "LTLN", std::nullopt, "SURVEY02");
  host.AddRecord("OTHER", "BIRD");

  MapState map = Map("6508", "6508", 0, 0);
  EXPECT_TRUE(Counted(host, map, 0, "'G1'", "'SURVEY01'").empty());
  EXPECT_EQ(Counted(host, map, 0, "'G1','G2'", "'SURVEY01'"),
            (std::map<std::string, std::string>{{"6508", "1"}}));
  EXPECT_EQ(Counted(host, map, 0, "'G1','G2'", "'SURVEY01','SURVEY02'"),
            (std::map<std::string, std::string>{{"6508", "2"}}));
  MapState fresh = Map("6508", "6508", 0, 0);
  EXPECT_TRUE(Counted(host, fresh, 0, "'no data'", "'SURVEY01'").empty());
}

TEST_F(CountRun, TakenOverReferencesCountForTheirOwnGridTypesOnly) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddSample("TWO", 49.43, 7.04, "QQQ", "6508/13");
  host.AddRecord("TWO", "T1");
  host.AddSample("BARE", 49.43, 7.04, "QQQ", "6508");
  host.AddRecord("BARE", "T1");
  const std::map<std::string, std::string> expected[] = {
      {{"6508", "1"}}, {{"6508/1", "1"}}, {{"6508/13", "1"}}, {}, {}};
  for (int type = 0; type < 5; ++type) {
    MapState map = Map("6508", "6508", type, type == 4 ? 0 : 1);
    EXPECT_EQ(Counted(host, map, type), expected[type]) << "grid type " << type;
  }
}

// The dialog's grid type group may have no item selected: then no sample's own
// grid reference is taken over, and only converted coordinates place samples.
TEST_F(CountRun, WithoutAChosenGridTypeNoReferenceIsTakenOver) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  host.AddSample("QQQ", 49.43, 7.04, "QQQ", "6508/214");
  host.AddRecord("QQQ", "T1");
  AddPoint(host, "POINT", MinuteFieldCentre(65, 8, 0, 0));
  host.AddRecord("POINT", "T2");
  MapState map = Map("6508", "6508", 0, 0);
  RecordingProgress progress;
  CountDatabase(host.Session(), map, {.taxonGroupKeys = "'G1'", .surveyKeys = "'SURVEY01'"},
                progress);
  EXPECT_EQ(map.Grids[0][0].Count, "1") << "only the converted sample is counted";
  EXPECT_EQ(Counted(host, map, 0), (std::map<std::string, std::string>{{"6508", "2"}}));
}

TEST_F(CountRun, WestSheetCodesAreCutOneLonger) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddSample("WEST", 50.03, 5.62, "QYX", "W5999/423");
  host.AddRecord("WEST", "T1");
  AddPoint(host, "EAST", MinuteFieldCentre(59, 0, 0, 0));
  host.AddRecord("EAST", "T1");
  MapState quadrants = Map("W5999", "5900", 1, 0);
  EXPECT_EQ(Counted(host, quadrants, 1),
            (std::map<std::string, std::string>{{"W5999/4", "1"}, {"5900/1", "1"}}));
}

TEST_F(CountRun, KeepsCountsOfCellsTheResultDoesNotName) {
  HostFixture host;
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  AddPoint(host, "A", MinuteFieldCentre(65, 8, 0, 0));
  host.AddRecord("A", "T1");
  MapState map = Map("6508", "6508", 1, 0);
  map.Grids[1][1].Count = "7";
  EXPECT_EQ(Counted(host, map, 1),
            (std::map<std::string, std::string>{{"6508/1", "1"}, {"6508/4", "7"}}));
}

TEST_F(CountRun, KeysWithApostrophesAreCountedAsTheyStand) {
  HostFixture host;
  host.AddTaxonGroup("G'1", "Vögel", 1);
  host.AddSurvey("S'2", "O'Briens Atlas");
  host.AddTaxon("T1", "G'1");
  const Point p = MinuteFieldCentre(65, 8, 0, 0);
  host.AddSample("O'NEIL", p.latitude, p.longitude, "LTLN", std::nullopt, "S'2");
  host.AddRecord("O'NEIL", "T1");
  MapState map = Map("6508", "6508", 4, 0);
  EXPECT_EQ(Assigned(host, map, 4), (std::map<std::string, std::string>{{"O'NEIL", "6508/111"}}));
  const std::vector<CheckedKey> groups = {{"G'1", true}};
  const std::vector<CheckedKey> surveys = {{"S'2", true}};
  EXPECT_EQ(Counted(host, map, 4, CheckedKeyList(groups), CheckedKeyList(surveys)),
            (std::map<std::string, std::string>{{"6508/111", "1"}}));
}

TEST_F(CountRun, SameCountsThroughOdbc) {
  HostFixture host(Backend::Odbc);
  ASSERT_EQ(host.Session().Dialect(), SqlDialect::SQLite);
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  AddPoint(host, "A", MinuteFieldCentre(65, 8, 0, 0));
  host.AddRecord("A", "T1");
  host.AddSample("B", 49.43, 7.04, "QYX", "6508/123");
  host.AddRecord("B", "T1");
  host.AddRecord("B", "T2");
  MapState map = Map("6508", "6508", 0, 0);
  EXPECT_EQ(Counted(host, map, 0), (std::map<std::string, std::string>{{"6508", "2"}}));
}

// Another program (SQLite's shell) commits a change at the moment the count
// has read the samples and is about to read the records.
class CommitBetweenPasses final : public ProgressSink {
 public:
  CommitBetweenPasses(std::string database, std::string change)
      : database_(std::move(database)), change_(std::move(change)) {}
  void SetProgressText(const std::string& text) override {
    if (text != "Hole Beobachtungen...") return;
    const testing::CommandResult shell =
        testing::RunCommand("/usr/bin/sqlite3", {database_, change_});
    EXPECT_EQ(shell.exitStatus, 0) << shell.err;
  }
  void SetProgressPosition(int) override {}

 private:
  std::string database_;
  std::string change_;
};

// The change moves a sample to another cell and gives it a second record: the
// count sees the sample where it was with its one record, or, counting again,
// where it went with both; never where it was with both. The write-ahead log
// lets the other program commit while the count reads.
TEST_F(CountRun, ACountReadsTheStateItBeganInWhileAnotherProgramCommits) {
  HostFixture host;
  if (VariantToText(host.Session().OpenQuery("PRAGMA journal_mode = WAL")->FieldValue(0)) !=
      "wal") {
    GTEST_SKIP() << "the file system offers no write-ahead log";
  }
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  AddPoint(host, "A", MinuteFieldCentre(65, 8, 0, 0));
  host.AddRecord("A", "T1");
  // Five minutes south and nine east: from minute field 6508/111 to 6508/435.
  CommitBetweenPasses commit(
      *SqliteDataSource(host.ConnectionString()),
      "BEGIN; UPDATE SAMPLE SET LAT = LAT - 5 / 60.0, LONG = LONG + 9 / 60.0 WHERE SAMPLE_KEY = "
      "'A'; INSERT INTO TAXON_OCCURRENCE VALUES ('LATER', 'A', 0, 0, 1); INSERT INTO "
      "TAXON_DETERMINATION VALUES ('LATER', 'LATER', 'T2', 1); COMMIT");
  MapState map = Map("6508", "6508", 4, 0);
  const CountRunInputs inputs{
      .gridType = &kGridTypes[4], .taxonGroupKeys = "'G1'", .surveyKeys = "'SURVEY01'"};
  EXPECT_EQ(CountDatabase(host.Session(), map, inputs, commit).cells,
            (std::vector<CellCount>{{"6508/111", 1, std::nullopt}}));
  MapState again = Map("6508", "6508", 4, 0);
  EXPECT_EQ(Counted(host, again, 4), (std::map<std::string, std::string>{{"6508/435", "2"}}));
}

// The command line's figures, on the embedded backend and through ODBC alike.
class CountFigures : public CountRun, public ::testing::WithParamInterface<Backend> {
 protected:
  // The cell codes of a run, in the order of the result, with the figures.
  static std::vector<CellCount> Cells(HostFixture& host, MapState map, CountRunInputs inputs) {
    RecordingProgress progress;
    inputs.taxonGroupKeys = "'G1'";
    inputs.surveyKeys = "'SURVEY01'";
    return CountDatabase(host.Session(), map, inputs, progress).cells;
  }
};

TEST_P(CountFigures, RecordsAreTheDistinctQualifyingOccurrencesBehindTheTaxa) {
  HostFixture host(GetParam());
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  host.AddTaxon("T1SYN", "G1", "T1");
  for (int i = 0; i < 3; ++i) {
    AddPoint(host, "A" + std::to_string(i), MinuteFieldCentre(65, 8, 0, 0));
    host.AddRecord("A" + std::to_string(i), "T1");
  }
  host.AddRecord("A0", "T1SYN");
  host.AddRecord("A1", "T2", {.confidential = true});
  AddPoint(host, "B", MinuteFieldCentre(65, 8, 5, 9));
  host.AddRecord("B", "T1", {.alsoDeterminedAs = "T2"});  // two taxa, one record

  const MapState map = Map("6508", "6508", 4, 0);
  const CountRunInputs minutes{.gridType = &kGridTypes[4]};
  EXPECT_EQ(Cells(host, map, minutes),
            (std::vector<CellCount>{{"6508/111", 1, std::nullopt}, {"6508/435", 2, std::nullopt}}));
  CountRunInputs both = minutes;
  both.countRecords = true;
  EXPECT_EQ(Cells(host, map, both),
            (std::vector<CellCount>{{"6508/111", 1, 4}, {"6508/435", 2, 1}}));

  MapState shown = map;
  RecordingProgress progress;
  CountDatabase(host.Session(), shown,
                {.gridType = &kGridTypes[4],
                 .taxonGroupKeys = "'G1'",
                 .surveyKeys = "'SURVEY01'",
                 .measure = CountMeasure::Records},
                progress);
  EXPECT_EQ(shown.Grids[0][0].Count, "4");
  EXPECT_EQ(shown.Grids[5][9].Count, "1");
  EXPECT_EQ(shown.Grids[0][1].Count, "0");
}

// Each sample lies in a minute field of its own, so the counted cells name
// the samples that were kept.
TEST_P(CountFigures, YearLimitsKeepSamplesDatedWithinThem) {
  HostFixture host(GetParam());
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxon("T1", "G1");
  const struct {
    const char* key;
    std::optional<int> start;
    std::optional<int> end;
  } samples[] = {
      {"DAY2001", FirstDayOfYear(2001) + 100, FirstDayOfYear(2001) + 100},
      {"YEAR2003", FirstDayOfYear(2003), LastDayOfYear(2003)},
      {"YEARS2002TO2004", FirstDayOfYear(2002), LastDayOfYear(2004)},
      {"UNDATED", std::nullopt, std::nullopt},
      {"SINCE2002", FirstDayOfYear(2002) + 30, std::nullopt},
      {"UNTIL2001", std::nullopt, LastDayOfYear(2001)},
  };
  std::map<std::string, std::string> keyOfCell;
  for (int i = 0; i < 5; ++i) {  // the first row of minute fields: 6508/111 to 6508/115
    AddPoint(host, samples[i].key, MinuteFieldCentre(65, 8, 0, i));
    keyOfCell["6508/11" + std::to_string(i + 1)] = samples[i].key;
  }
  AddPoint(host, samples[5].key, MinuteFieldCentre(65, 8, 1, 0));
  keyOfCell["6508/121"] = samples[5].key;
  for (const auto& sample : samples) {
    host.DateSample(sample.key, sample.start, sample.end);
    host.AddRecord(sample.key, "T1");
  }
  const MapState map = Map("6508", "6508", 4, 0);
  using Keys = std::set<std::string>;
  const auto kept = [&](YearRange years) {
    Keys keys;
    for (const CellCount& cell : Cells(host, map, {.gridType = &kGridTypes[4], .years = years})) {
      keys.insert(keyOfCell[cell.code]);
    }
    return keys;
  };
  EXPECT_EQ(kept({}),
            (Keys{"DAY2001", "YEAR2003", "YEARS2002TO2004", "UNDATED", "SINCE2002", "UNTIL2001"}));
  EXPECT_EQ(kept({.from = 2002}), (Keys{"YEAR2003", "YEARS2002TO2004", "SINCE2002"}));
  EXPECT_EQ(kept({.to = 2003}), (Keys{"DAY2001", "YEAR2003", "UNTIL2001"}));
  EXPECT_EQ(kept({.from = 2001, .to = 2004}), (Keys{"DAY2001", "YEAR2003", "YEARS2002TO2004"}));
  EXPECT_EQ(kept({.from = 2003, .to = 2003}), (Keys{"YEAR2003"}));
  EXPECT_EQ(kept({.from = 2005, .to = 2000}), Keys{});
}

TEST_P(CountFigures, YearsOutsideTheCalendarAreRefusedBeforeAnyWork) {
  HostFixture host(GetParam());
  MapState map = Map("6508", "6508", 0, 0);
  RecordingProgress progress;
  EXPECT_THROW(CountDatabase(host.Session(), map,
                             {.gridType = &kGridTypes[0], .years = {.from = 0}}, progress),
               Exception);
  EXPECT_TRUE(progress.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, CountFigures, ::testing::Values(Backend::Sqlite, Backend::Odbc),
                         [](const auto& row) {
                           return row.param == Backend::Sqlite ? "Embedded" : "Odbc";
                         });

}  // namespace
}  // namespace velmora
