// Every count of a generated host database against counts worked out here from
// the raw rows, without SQL: for each grid type and grid system.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "count/atlas_records.h"
#include "count/count_run.h"
#include "count/selection_lists.h"
#include "count/sql_text.h"
#include "demo/demo_database.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "raw_counts.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using testing::Days;
using testing::ExpectedFigures;
using testing::HostRecords;
using testing::ReadAll;
using testing::Rows;

using Counts = std::map<std::string, std::string>;

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

// Copies of grid-referenced samples, with their records, under references
// that only look like cell codes of their system.
void AddJunkReferences(DatabaseSession& session) {
  const Rows donors =
      ReadAll(session,
              "SELECT SAMPLE_KEY, SPATIAL_REF_SYSTEM, SPATIAL_REF FROM SAMPLE WHERE "
              "SPATIAL_REF_SYSTEM IN ('QQQ','QYX') AND LAT IS NOT NULL AND "
              "SPATIAL_REF NOT LIKE 'W%' ORDER BY SAMPLE_KEY LIMIT 40");
  const std::string suffixes[] = {"/2zz", "/\xF0\x9F\x92\xA5", "/1111", "/5", "/12", "/", "1",
                                  "/0"};
  for (size_t i = 0; i < donors.size(); ++i) {
    const std::string donor = QuoteSqlText(VariantToText(donors[i][0]));
    const std::string key = QuoteSqlText(VariantToText(donors[i][0]) + "J");
    const std::string sheet = VariantToText(donors[i][2]).substr(0, 4);
    const std::string reference = QuoteSqlText(sheet + suffixes[i % std::size(suffixes)]);
    session.ExecuteNoRecords(
        "INSERT INTO SAMPLE (SAMPLE_KEY, SURVEY_EVENT_KEY, SAMPLE_TYPE_KEY, VAGUE_DATE_START, "
        "VAGUE_DATE_END, VAGUE_DATE_TYPE, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG, "
        "LOCATION_NAME, ENTERED_BY, ENTRY_DATE) SELECT " +
        key +
        ", SURVEY_EVENT_KEY, SAMPLE_TYPE_KEY, VAGUE_DATE_START, VAGUE_DATE_END, "
        "VAGUE_DATE_TYPE, " +
        reference +
        ", SPATIAL_REF_SYSTEM, LAT, LONG, LOCATION_NAME, ENTERED_BY, ENTRY_DATE FROM SAMPLE "
        "WHERE SAMPLE_KEY = " +
        donor);
    session.ExecuteNoRecords(
        "INSERT INTO TAXON_DETERMINATION SELECT d.TAXON_DETERMINATION_KEY || 'J', "
        "d.TAXON_OCCURRENCE_KEY || 'J', d.TAXON_LIST_ITEM_KEY, d.PREFERRED, d.DETERMINER FROM "
        "TAXON_DETERMINATION d JOIN TAXON_OCCURRENCE o ON o.TAXON_OCCURRENCE_KEY = "
        "d.TAXON_OCCURRENCE_KEY WHERE o.SAMPLE_KEY = " +
        donor);
    session.ExecuteNoRecords(
        "INSERT INTO TAXON_OCCURRENCE SELECT TAXON_OCCURRENCE_KEY || 'J', " + key +
        ", ZERO_ABUNDANCE, CONFIDENTIAL, CHECKED, VERIFIED FROM TAXON_OCCURRENCE WHERE "
        "SAMPLE_KEY = " +
        donor);
  }
}

// Samples whose dates are open at one end, and names without a recommended
// item.
void AddOpenDatesAndTaxaWithoutRecommendation(DatabaseSession& session) {
  session.ExecuteNoRecords(
      "UPDATE SAMPLE SET VAGUE_DATE_START = NULL WHERE SAMPLE_KEY IN (SELECT SAMPLE_KEY FROM "
      "SAMPLE WHERE VAGUE_DATE_START IS NOT NULL ORDER BY SAMPLE_KEY LIMIT 60)");
  session.ExecuteNoRecords(
      "UPDATE SAMPLE SET VAGUE_DATE_END = NULL WHERE SAMPLE_KEY IN (SELECT SAMPLE_KEY FROM "
      "SAMPLE WHERE VAGUE_DATE_START IS NOT NULL ORDER BY SAMPLE_KEY DESC LIMIT 60)");
  session.ExecuteNoRecords(
      "UPDATE INDEX_TAXON_NAME SET RECOMMENDED_TAXON_LIST_ITEM_KEY = NULL WHERE "
      "TAXON_LIST_ITEM_KEY IN (SELECT TAXON_LIST_ITEM_KEY FROM INDEX_TAXON_NAME ORDER BY "
      "TAXON_LIST_ITEM_KEY LIMIT 4)");
}

// A map to count at a grid type of a system, with year limits, and the host
// day numbers of those limits.
struct YearRun {
  int gridType;
  const char* system;
  YearRange years;
  Days days;
};

// A generated database with junk references added, and the taxon groups and
// surveys to count: all but one of each, so that both lists really filter.
class GeneratedDatabase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadGeodeticLibrary();
    folder_ = std::make_unique<testing::TempFolder>();
    options_.samples = 3000;
    options_.seed = 11;
    demo::WriteDemoDatabase(folder_->Path() / "demo.db", options_);
    session_ = std::make_unique<DatabaseSession>();
    session_->Open("Provider=SQLite;Data Source=" + (folder_->Path() / "demo.db").string());
    AddJunkReferences(*session_);
    AddOpenDatesAndTaxaWithoutRecommendation(*session_);
    host_ = std::make_unique<HostRecords>(*session_);

    std::vector<CheckedKey> groupKeys, surveyKeys;
    LoadTaxonGroups(*session_, [&](SelectionItem i) { groupKeys.push_back({i.key, true}); });
    LoadSurveys(*session_, [&](SelectionItem i) { surveyKeys.push_back({i.key, true}); });
    ASSERT_GE(groupKeys.size(), 2u);
    ASSERT_GE(surveyKeys.size(), 2u);
    groupKeys.back().checked = false;
    surveyKeys.front().checked = false;
    groupList_ = CheckedKeyList(groupKeys);
    surveyList_ = CheckedKeyList(surveyKeys);
    for (const CheckedKey& k : groupKeys) {
      if (k.checked) groups_.insert(k.key);
    }
    for (const CheckedKey& k : surveyKeys) {
      if (k.checked) surveys_.insert(k.key);
    }
  }
  static void TearDownTestSuite() {
    host_.reset();
    session_.reset();
    folder_.reset();
  }

  // The extent of the demo, cut by one sheet column, so that some samples fall outside.
  static MapState Map(const GridTypeInfo& type, const GridSystemInfo& system) {
    const Extent& extent = options_.extent;
    const Sheet se(extent.SouthEast().Row(), extent.SouthEast().ColumnIndex() - 1);
    MapState map;
    BuildCellList(
        {type.item, system.item, Extent::Read(extent.NorthWest().Number(), se.Number()), ""}, map);
    return map;
  }

  static CountRunInputs Inputs(const GridTypeInfo& type) {
    return {.gridType = &type, .taxonGroupKeys = groupList_, .surveyKeys = surveyList_};
  }

  static inline std::unique_ptr<testing::TempFolder> folder_;
  static inline demo::DemoOptions options_;
  static inline std::unique_ptr<DatabaseSession> session_;
  static inline std::unique_ptr<HostRecords> host_;
  static inline std::string groupList_, surveyList_;
  static inline std::set<std::string> groups_, surveys_;
};

// The demo's samples include some with coordinates but no spatial reference
// system, and some without a date.
TEST_F(GeneratedDatabase, EveryCountAgreesWithTheRawRows) {
  ASSERT_GT(ReadAll(*session_,
                    "SELECT 1 FROM SAMPLE WHERE SPATIAL_REF_SYSTEM IS NULL AND LAT IS NOT NULL")
                .size(),
            10u);
  NullProgress progress;
  for (const GridTypeInfo& type : kGridTypes) {
    for (const GridSystemInfo& system : kGridSystems) {
      if (!system.offersGridType[type.item]) continue;
      MapState map = Map(type, system);
      const CountResult result = CountDatabase(*session_, map, Inputs(type), progress);
      Counts counted;
      for (const auto& row : map.Grids) {
        for (const TGrid& cell : row) {
          if (cell.Count != "0") counted[cell.Code] = cell.Count;
        }
      }
      Counts expected;
      int distinctTaxa = 0;
      for (const auto& [code, figures] :
           ExpectedFigures(*host_, map, type.item, groups_, surveys_, {}, &distinctTaxa)) {
        expected[code] = std::to_string(figures.taxa);
      }
      EXPECT_GT(expected.size(), 3u) << type.name << " / " << system.code;
      EXPECT_EQ(counted, expected) << type.name << " / " << system.code;
      EXPECT_EQ(result.distinctTaxa, distinctTaxa) << type.name << " / " << system.code;
    }
  }
}

TEST_F(GeneratedDatabase, YearLimitsAndRecordsAgreeWithTheRawRows) {
  ASSERT_GT(ReadAll(*session_, "SELECT 1 FROM SAMPLE WHERE VAGUE_DATE_START IS NULL").size(), 10u);
  // Days 36526 and 42369 are 1 January 2000 and 31 December 2015; 40179 is
  // 1 January 2010, 35064 31 December 1995.
  const YearRun runs[] = {
      {3, "QQQ", {.from = 2000, .to = 2015}, {36526, 42369}},
      {4, "QYX", {.from = 2010}, {40179, std::nullopt}},
      {1, "QQQ", {.to = 1995}, {std::nullopt, 35064}},
  };
  NullProgress progress;
  for (const auto& run : runs) {
    const GridTypeInfo& type = kGridTypes[run.gridType];
    MapState map = Map(type, *GridSystemByCode(run.system));
    CountRunInputs inputs = Inputs(type);
    inputs.years = run.years;
    inputs.countRecords = true;
    const CountResult result = CountDatabase(*session_, map, inputs, progress);
    std::map<std::string, CellCount> counted;
    for (const CellCount& cell : result.cells) counted[cell.code] = cell;
    const auto expected = ExpectedFigures(*host_, map, type.item, groups_, surveys_, run.days);
    EXPECT_GT(expected.size(), 3u) << type.name;
    EXPECT_EQ(counted, expected) << type.name;
  }
}

// The embedded backend streams and counts in memory; through ODBC the same
// database is counted by the statements. Both give the same figures and leave
// the same samples with the same codes in the sample table.
TEST_F(GeneratedDatabase, TheStatementsGiveTheSameFiguresAndSampleTable) {
  DatabaseSession odbc;
  odbc.Open(testing::TestConnectionString(testing::Backend::Odbc, folder_->Path() / "demo.db"));
  ASSERT_EQ(odbc.Streaming(), nullptr);
  const auto table = [](DatabaseSession& session) {
    std::vector<std::string> rows;
    for (const auto& row :
         ReadAll(session,
                 "SELECT grid, gridtype, sample_key, SURVEY_EVENT_KEY, SPATIAL_REF, "
                 "SPATIAL_REF_SYSTEM, LAT, Long FROM temp.sample_grid ORDER BY sample_key")) {
      std::string text;
      for (const Variant& value : row) {
        text += std::holds_alternative<std::monostate>(value) ? "NULL" : VariantToText(value);
        text += '|';
      }
      rows.push_back(text);
    }
    return rows;
  };
  NullProgress progress;
  for (const GridTypeInfo& type : kGridTypes) {
    for (const GridSystemInfo& system : kGridSystems) {
      if (!system.offersGridType[type.item]) continue;
      CountRunInputs inputs = Inputs(type);
      inputs.countRecords = true;
      if (type.item == 2) inputs.years = {.from = 1990, .to = 2010};
      MapState streamed = Map(type, system);
      MapState stated = Map(type, system);
      const CountResult fromStream = CountDatabase(*session_, streamed, inputs, progress);
      const CountResult fromStatements = CountDatabase(odbc, stated, inputs, progress);
      EXPECT_GT(fromStream.cells.size(), 3u) << type.name << " / " << system.code;
      EXPECT_EQ(fromStream.cells, fromStatements.cells) << type.name << " / " << system.code;
      EXPECT_EQ(fromStream.distinctTaxa, fromStatements.distinctTaxa)
          << type.name << " / " << system.code;
      EXPECT_EQ(table(*session_), table(odbc)) << type.name << " / " << system.code;
    }
  }
}

// An atlas reads every (taxon, cell) of the map with its records and years in
// one pass, on the streamed road and through the statements alike; its names
// are the recommended items' and its groups those counted.
TEST_F(GeneratedDatabase, TheAtlasRecordsAgreeWithTheRawRowsOnBothRoads) {
  DatabaseSession odbc;
  odbc.Open(testing::TestConnectionString(testing::Backend::Odbc, folder_->Path() / "demo.db"));
  std::map<std::string, std::string> names;
  for (const auto& row :
       ReadAll(*session_, "SELECT TAXON_LIST_ITEM_KEY, ACTUAL_NAME FROM INDEX_TAXON_NAME")) {
    names[VariantToText(row[0])] = VariantToText(row[1]);
  }
  const YearRun runs[] = {
      {1, "QYX", {}, {}},
      {3, "QQQ", {.from = 2000, .to = 2015}, {36526, 42369}},
  };
  NullProgress progress;
  for (const auto& run : runs) {
    const GridTypeInfo& type = kGridTypes[run.gridType];
    const MapState map = Map(type, *GridSystemByCode(run.system));
    CountRunInputs inputs = Inputs(type);
    inputs.years = run.years;
    const auto expected =
        testing::ExpectedAtlas(*host_, map, type.item, groups_, surveys_, run.days);
    EXPECT_GT(expected.size(), 100u) << type.name;
    for (DatabaseSession* session : {session_.get(), &odbc}) {
      std::map<testing::AtlasKey, testing::AtlasFigures> read;
      for (const AtlasTaxon& taxon : ReadAtlasRecords(*session, map, inputs, progress)) {
        EXPECT_EQ(taxon.name, taxon.key ? names[*taxon.key] : kNoRecommendedTaxonName);
        EXPECT_TRUE(groups_.contains(taxon.groupKey)) << taxon.groupKey;
        for (const AtlasCell& cell : taxon.cells) {
          const std::string& code =
              map.Grids[cell.position / map.CellColumns][cell.position % map.CellColumns].Code;
          read[{taxon.key, code}] = {cell.records, cell.firstYear, cell.lastYear};
        }
      }
      EXPECT_EQ(read, expected) << type.name << (session == &odbc ? " (statements)" : "");
    }
  }
}

}  // namespace
}  // namespace velmora
