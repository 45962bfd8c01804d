// Every count of a generated host database against counts worked out here from
// the raw rows, without SQL: for each grid type and grid system.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "count/sql_text.h"
#include "demo/demo_database.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using Counts = std::map<std::string, std::string>;
using Rows = std::vector<std::vector<Variant>>;

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

Rows ReadAll(DatabaseSession& session, const std::string& sql) {
  Rows rows;
  const auto result = session.OpenQuery(sql);
  for (; !result->AtEnd(); result->Next()) {
    std::vector<Variant> row;
    for (int i = 0; i < result->ColumnCount(); ++i) row.push_back(result->FieldValue(i));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<std::string> TextOf(const Variant& v) {
  if (std::holds_alternative<std::monostate>(v)) return std::nullopt;
  return VariantToText(v);
}

std::optional<double> NumberOf(const Variant& v) {
  if (const double* d = std::get_if<double>(&v)) return *d;
  if (const long long* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
  return std::nullopt;
}

bool Flag(const Variant& v) { return VariantToText(v) == "1"; }

// The host's records as plain maps, read table by table.
struct HostRecords {
  explicit HostRecords(DatabaseSession& s)
      : samples(ReadAll(s,
                        "SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF_SYSTEM, SPATIAL_REF, "
                        "LAT, LONG, VAGUE_DATE_START, VAGUE_DATE_END FROM SAMPLE")),
        occurrences(ReadAll(s,
                            "SELECT TAXON_OCCURRENCE_KEY, SAMPLE_KEY, CONFIDENTIAL, "
                            "ZERO_ABUNDANCE, CHECKED FROM TAXON_OCCURRENCE")),
        determinations(ReadAll(s,
                               "SELECT TAXON_OCCURRENCE_KEY, TAXON_LIST_ITEM_KEY, PREFERRED "
                               "FROM TAXON_DETERMINATION")) {
    for (const auto& r : ReadAll(s, "SELECT SURVEY_EVENT_KEY, SURVEY_KEY FROM SURVEY_EVENT")) {
      surveyOfEvent[VariantToText(r[0])] = VariantToText(r[1]);
    }
    for (const auto& r : ReadAll(s,
                                 "SELECT TAXON_LIST_ITEM_KEY, RECOMMENDED_TAXON_LIST_ITEM_KEY "
                                 "FROM INDEX_TAXON_NAME")) {
      recommendedOf[VariantToText(r[0])] = TextOf(r[1]);
    }
    std::map<std::string, std::string> versionOf;
    for (const auto& r : ReadAll(s,
                                 "SELECT TAXON_LIST_ITEM_KEY, TAXON_VERSION_KEY FROM "
                                 "TAXON_LIST_ITEM")) {
      versionOf[VariantToText(r[0])] = VariantToText(r[1]);
    }
    std::map<std::string, std::optional<std::string>> groupOfVersion;
    for (const auto& r : ReadAll(s,
                                 "SELECT TAXON_VERSION_KEY, OUTPUT_GROUP_KEY FROM "
                                 "TAXON_VERSION")) {
      groupOfVersion[VariantToText(r[0])] = TextOf(r[1]);
    }
    for (const auto& [item, version] : versionOf) {
      if (groupOfVersion.contains(version)) groupOfItem[item] = groupOfVersion[version];
    }
  }

  Rows samples, occurrences, determinations;
  std::map<std::string, std::string> surveyOfEvent;
  std::map<std::string, std::optional<std::string>> recommendedOf;
  std::map<std::string, std::optional<std::string>> groupOfItem;
};

// Whether a reference is a cell code of its system: a sheet number, then the
// digits of one of the system's grid types.
bool IsCellCode(const std::string& system, const std::string& reference) {
  static const std::regex quadrants("W?[0-9]{4}(/[1-4]{1,3})?");
  static const std::regex minutes("W?[0-9]{4}(/[1-4]|/[1-4][1-3][1-5])?");
  return std::regex_match(reference, system == "QQQ" ? quadrants : minutes);
}

// The code a sample gets for the grid type, by the rules of the count.
std::optional<std::string> SampleCode(const std::vector<Variant>& sample, int gridType,
                                      const std::string& systemCode) {
  if (!NumberOf(sample[4])) return std::nullopt;  // no latitude
  const std::optional<std::string> system = TextOf(sample[2]);
  if (system == "QQQ" || system == "QYX") {
    const bool admitted = gridType <= 1 || (*system == "QQQ" ? gridType <= 3 : gridType == 4);
    const std::optional<std::string> reference = TextOf(sample[3]);
    if (!admitted || !reference || !IsCellCode(*system, *reference)) return std::nullopt;
    return reference;
  }
  const std::optional<double> longitude = NumberOf(sample[5]);
  if (!longitude) return std::nullopt;
  std::string code = CoordinateToCellCode(systemCode, *NumberOf(sample[4]), *longitude);
  if (code.empty()) return std::nullopt;
  return code;
}

// Host day numbers a sample's date must lie within; nothing for no limit.
struct Days {
  std::optional<double> first;
  std::optional<double> last;
};

bool DatedWithin(const std::vector<Variant>& sample, const Days& days) {
  const std::optional<double> start = NumberOf(sample[6]), end = NumberOf(sample[7]);
  if (days.first && (!start || *start < *days.first)) return false;
  if (days.last && (!end || *end > *days.last)) return false;
  return true;
}

// Code -> figures of every counted cell of the map, worked out from the rows.
std::map<std::string, CellCount> ExpectedFigures(const HostRecords& host, const MapState& map,
                                                 int gridType, const std::set<std::string>& groups,
                                                 const std::set<std::string>& surveys,
                                                 const Days& days = {}) {
  const std::vector<std::string> sheetList = SheetsOf(map);
  const std::set<std::string> sheets(sheetList.begin(), sheetList.end());
  const size_t length = static_cast<size_t>(GridTypeOfCellsPerSheet(map.CellsPerSheet).codeLength);
  std::map<std::string, std::pair<std::string, std::string>> cellOfSample;  // key -> cell, survey
  for (const auto& sample : host.samples) {
    if (!DatedWithin(sample, days)) continue;
    const std::optional<std::string> code = SampleCode(sample, gridType, map.GridSystemCode);
    if (!code || !sheets.contains(code->substr(0, code->find('/')))) continue;
    const size_t cut = (*code)[0] == 'W' ? length + 1 : length;
    if (code->size() < cut) continue;
    const auto event = host.surveyOfEvent.find(VariantToText(sample[1]));
    if (event == host.surveyOfEvent.end()) continue;
    cellOfSample[VariantToText(sample[0])] = {code->substr(0, cut), event->second};
  }
  std::map<std::string, const std::vector<Variant>*> occurrenceOf;
  for (const auto& o : host.occurrences) occurrenceOf[VariantToText(o[0])] = &o;

  std::map<std::string, std::set<std::optional<std::string>>> taxaOfCell;
  std::map<std::string, std::set<std::string>> recordsOfCell;
  for (const auto& d : host.determinations) {
    if (!Flag(d[2])) continue;
    const auto occurrence = occurrenceOf.find(VariantToText(d[0]));
    if (occurrence == occurrenceOf.end()) continue;
    const std::vector<Variant>& o = *occurrence->second;
    if (Flag(o[2]) || Flag(o[3]) || !Flag(o[4])) continue;
    const auto cell = cellOfSample.find(VariantToText(o[1]));
    if (cell == cellOfSample.end() || !surveys.contains(cell->second.second)) continue;
    const std::string item = VariantToText(d[1]);
    const auto group = host.groupOfItem.find(item);
    if (group == host.groupOfItem.end() || !group->second || !groups.contains(*group->second)) {
      continue;
    }
    const auto recommended = host.recommendedOf.find(item);
    taxaOfCell[cell->second.first].insert(
        recommended == host.recommendedOf.end() ? std::nullopt : recommended->second);
    recordsOfCell[cell->second.first].insert(VariantToText(o[0]));
  }
  std::map<std::string, CellCount> figures;
  for (const auto& row : map.Grids) {
    for (const TGrid& cell : row) {
      const auto taxa = taxaOfCell.find(cell.Code);
      if (taxa == taxaOfCell.end()) continue;
      figures[cell.Code] = {cell.Code, static_cast<int>(taxa->second.size()),
                            static_cast<int>(recordsOfCell[cell.Code].size())};
    }
  }
  return figures;
}

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
      CountDatabase(*session_, map, Inputs(type), progress);
      Counts counted;
      for (const auto& row : map.Grids) {
        for (const TGrid& cell : row) {
          if (cell.Count != "0") counted[cell.Code] = cell.Count;
        }
      }
      Counts expected;
      for (const auto& [code, figures] :
           ExpectedFigures(*host_, map, type.item, groups_, surveys_)) {
        expected[code] = std::to_string(figures.taxa);
      }
      EXPECT_GT(expected.size(), 3u) << type.name << " / " << system.code;
      EXPECT_EQ(counted, expected) << type.name << " / " << system.code;
    }
  }
}

TEST_F(GeneratedDatabase, YearLimitsAndRecordsAgreeWithTheRawRows) {
  ASSERT_GT(ReadAll(*session_, "SELECT 1 FROM SAMPLE WHERE VAGUE_DATE_START IS NULL").size(), 10u);
  // Days 36526 and 42369 are 1 January 2000 and 31 December 2015; 40179 is
  // 1 January 2010, 35064 31 December 1995.
  const struct {
    int gridType;
    const char* system;
    YearRange years;
    Days days;
  } runs[] = {
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
      EXPECT_EQ(table(*session_), table(odbc)) << type.name << " / " << system.code;
    }
  }
}

}  // namespace
}  // namespace velmora
