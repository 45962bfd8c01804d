// Every count of a generated host database against counts worked out here from
// the raw rows, without SQL: for each grid type and grid system.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "count/count_run.h"
#include "count/count_sql.h"
#include "count/selection_lists.h"
#include "demo_database.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "temp_folder.h"

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
                        "LAT, LONG FROM SAMPLE")),
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

Counts ExpectedCounts(const HostRecords& host, const MapState& map, int gridType,
                      const std::set<std::string>& groups, const std::set<std::string>& surveys) {
  const std::vector<std::string> sheetList = SheetsOf(map);
  const std::set<std::string> sheets(sheetList.begin(), sheetList.end());
  const size_t length = static_cast<size_t>(GridTypeOfCellsPerSheet(map.CellsPerSheet).codeLength);
  std::map<std::string, std::pair<std::string, std::string>> cellOfSample;  // key -> cell, survey
  for (const auto& sample : host.samples) {
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
  }
  Counts counts;
  for (const auto& row : map.Grids) {
    for (const TGrid& cell : row) {
      const auto taxa = taxaOfCell.find(cell.Code);
      if (taxa != taxaOfCell.end()) counts[cell.Code] = std::to_string(taxa->second.size());
    }
  }
  return counts;
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

// The demo's samples include some with coordinates but no spatial reference
// system; junk references are added here.
TEST(GeneratedDatabase, EveryCountAgreesWithTheRawRows) {
  LoadGeodeticLibrary();
  testing::TempFolder folder;
  demo::DemoOptions options;
  options.samples = 3000;
  options.seed = 11;
  demo::WriteDemoDatabase(folder.Path() / "demo.db", options);

  DatabaseSession session;
  session.Open("Provider=SQLite;Data Source=" + (folder.Path() / "demo.db").string());
  AddJunkReferences(session);
  const HostRecords host(session);
  ASSERT_GT(
      ReadAll(session, "SELECT 1 FROM SAMPLE WHERE SPATIAL_REF_SYSTEM IS NULL AND LAT IS NOT NULL")
          .size(),
      10u);

  // Leave one group and one survey out, so that both lists really filter.
  std::vector<CheckedKey> groupKeys, surveyKeys;
  LoadTaxonGroups(session, [&](SelectionItem i) { groupKeys.push_back({i.key, true}); });
  LoadSurveys(session, [&](SelectionItem i) { surveyKeys.push_back({i.key, true}); });
  ASSERT_GE(groupKeys.size(), 2u);
  ASSERT_GE(surveyKeys.size(), 2u);
  groupKeys.back().checked = false;
  surveyKeys.front().checked = false;
  std::set<std::string> groups, surveys;
  for (const CheckedKey& k : groupKeys) {
    if (k.checked) groups.insert(k.key);
  }
  for (const CheckedKey& k : surveyKeys) {
    if (k.checked) surveys.insert(k.key);
  }

  // The extent of the demo, cut by one sheet column, so that some samples fall outside.
  const std::string nw = options.extent.NorthWest().Number();
  const std::string se =
      Sheet(options.extent.SouthEast().Row(), options.extent.SouthEast().ColumnIndex() - 1)
          .Number();
  NullProgress progress;
  for (const GridTypeInfo& type : kGridTypes) {
    for (const GridSystemInfo& system : kGridSystems) {
      if (!system.offersGridType[type.item]) continue;
      MapState map;
      BuildCellList({type.item, system.item, Extent::Read(nw, se), ""}, map);
      CountDatabase(session, map, {&type, CheckedKeyList(groupKeys), CheckedKeyList(surveyKeys)},
                    progress);
      Counts counted;
      for (const auto& row : map.Grids) {
        for (const TGrid& cell : row) {
          if (cell.Count != "0") counted[cell.Code] = cell.Count;
        }
      }
      const Counts expected = ExpectedCounts(host, map, type.item, groups, surveys);
      EXPECT_GT(expected.size(), 3u) << type.name << " / " << system.code;
      EXPECT_EQ(counted, expected) << type.name << " / " << system.code;
    }
  }
}

}  // namespace
}  // namespace velmora
