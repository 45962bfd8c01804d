#include "raw_counts.h"

#include <algorithm>
#include <chrono>
#include <regex>

#include "grid/coordinate_conversion.h"
#include "grid/grid_types.h"

namespace velmora::testing {
namespace {

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

bool DatedWithin(const std::vector<Variant>& sample, const Days& days) {
  const std::optional<double> start = NumberOf(sample[6]), end = NumberOf(sample[7]);
  if (days.first && (!start || *start < *days.first)) return false;
  if (days.last && (!end || *end > *days.last)) return false;
  return true;
}

}  // namespace

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

HostRecords::HostRecords(DatabaseSession& s)
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

void ForEachCountedRecord(const HostRecords& host, const MapState& map, int gridType,
                          const std::set<std::string>& groups, const std::set<std::string>& surveys,
                          const Days& days, const CountedRecord& record) {
  const std::vector<std::string> sheetList = SheetsOf(map);
  const std::set<std::string> sheets(sheetList.begin(), sheetList.end());
  const size_t length = static_cast<size_t>(GridTypeOfCellsPerSheet(map.CellsPerSheet).codeLength);
  struct SampleCell {
    std::string cell, survey;
    const std::vector<Variant>* sample;
  };
  std::map<std::string, SampleCell> cellOfSample;
  for (const auto& sample : host.samples) {
    if (!DatedWithin(sample, days)) continue;
    const std::optional<std::string> code = SampleCode(sample, gridType, map.GridSystemCode);
    if (!code || !sheets.contains(code->substr(0, code->find('/')))) continue;
    const size_t cut = (*code)[0] == 'W' ? length + 1 : length;
    if (code->size() < cut) continue;
    const auto event = host.surveyOfEvent.find(VariantToText(sample[1]));
    if (event == host.surveyOfEvent.end()) continue;
    cellOfSample[VariantToText(sample[0])] = {code->substr(0, cut), event->second, &sample};
  }
  // A determination belongs to every occurrence of its key, should one stand twice.
  std::multimap<std::string, const std::vector<Variant>*> occurrenceOf;
  for (const auto& o : host.occurrences) occurrenceOf.emplace(VariantToText(o[0]), &o);

  for (const auto& d : host.determinations) {
    if (!Flag(d[2])) continue;
    const auto [first, last] = occurrenceOf.equal_range(VariantToText(d[0]));
    for (auto occurrence = first; occurrence != last; ++occurrence) {
      const std::vector<Variant>& o = *occurrence->second;
      if (Flag(o[2]) || Flag(o[3]) || !Flag(o[4])) continue;
      const auto cell = cellOfSample.find(VariantToText(o[1]));
      if (cell == cellOfSample.end() || !surveys.contains(cell->second.survey)) continue;
      const std::string item = VariantToText(d[1]);
      const auto group = host.groupOfItem.find(item);
      if (group == host.groupOfItem.end() || !group->second || !groups.contains(*group->second)) {
        continue;
      }
      const auto recommended = host.recommendedOf.find(item);
      record(cell->second.cell,
             recommended == host.recommendedOf.end() ? std::nullopt : recommended->second,
             VariantToText(o[0]), *cell->second.sample);
    }
  }
}

std::map<std::string, CellCount> ExpectedFigures(const HostRecords& host, const MapState& map,
                                                 int gridType, const std::set<std::string>& groups,
                                                 const std::set<std::string>& surveys,
                                                 const Days& days, int* distinctTaxa) {
  std::map<std::string, std::set<std::optional<std::string>>> taxaOfCell;
  std::map<std::string, std::set<std::string>> recordsOfCell;
  ForEachCountedRecord(host, map, gridType, groups, surveys, days,
                       [&](const std::string& cell, const std::optional<std::string>& taxon,
                           const std::string& occurrence, const std::vector<Variant>&) {
                         taxaOfCell[cell].insert(taxon);
                         recordsOfCell[cell].insert(occurrence);
                       });
  std::map<std::string, CellCount> figures;
  std::set<std::optional<std::string>> allTaxa;
  for (const auto& row : map.Grids) {
    for (const TGrid& cell : row) {
      const auto taxa = taxaOfCell.find(cell.Code);
      if (taxa == taxaOfCell.end()) continue;
      figures[cell.Code] = {cell.Code, static_cast<int>(taxa->second.size()),
                            static_cast<int>(recordsOfCell[cell.Code].size())};
      allTaxa.insert(taxa->second.begin(), taxa->second.end());
    }
  }
  if (distinctTaxa) *distinctTaxa = static_cast<int>(allTaxa.size());
  return figures;
}

}  // namespace velmora::testing

namespace velmora::testing {
namespace {

// The year of a host day number, counted from 30 December 1899.
std::optional<int> YearOfDay(const Variant& day) {
  const std::optional<double> number = NumberOf(day);
  if (!number) return std::nullopt;
  using namespace std::chrono;
  const sys_days date = sys_days(1899y / December / 30) + days(static_cast<int>(*number));
  return static_cast<int>(year_month_day(date).year());
}

}  // namespace

std::map<AtlasKey, AtlasFigures> ExpectedAtlas(const HostRecords& host, const MapState& map,
                                               int gridType, const std::set<std::string>& groups,
                                               const std::set<std::string>& surveys,
                                               const Days& days) {
  std::map<AtlasKey, AtlasFigures> atlas;
  std::map<AtlasKey, std::set<std::string>> records;
  ForEachCountedRecord(host, map, gridType, groups, surveys, days,
                       [&](const std::string& cell, const std::optional<std::string>& taxon,
                           const std::string& occurrence, const std::vector<Variant>& sample) {
                         const AtlasKey key{taxon, cell};
                         records[key].insert(occurrence);
                         AtlasFigures& figures = atlas[key];
                         figures.records = static_cast<int>(records[key].size());
                         std::optional<int> first = YearOfDay(sample[6]),
                                            last = YearOfDay(sample[7]);
                         if (!first) first = last;
                         if (!last) last = first;
                         if (first)
                           figures.first = std::min(figures.first.value_or(*first), *first);
                         if (last) figures.last = std::max(figures.last.value_or(*last), *last);
                       });
  return atlas;
}

}  // namespace velmora::testing
