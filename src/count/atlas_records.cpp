#include "count/atlas_records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "count/host_schema.h"
#include "count/record_rule.h"
#include "count/statements/sample_assignment.h"
#include "count/streamed/map_cells.h"
#include "count/streamed/streamable.h"
#include "count/streamed/streamed_assignment.h"
#include "count/streamed/streamed_atlas.h"

namespace velmora {
namespace {

// As a count: the pass over the host's records gets this much time.
constexpr int kRecordsTimeoutSeconds = 400;

// The qualifying records with what the atlas needs of each: its recommended
// taxon, its sample's code, its key, its item's group and its sample's dates.
std::string AtlasRecordsSql(SqlDialect dialect, const CountRunInputs& inputs) {
  return "SELECT itn.RECOMMENDED_TAXON_LIST_ITEM_KEY, s.grid, toc.TAXON_OCCURRENCE_KEY, "
         "TV.OUTPUT_GROUP_KEY, (SELECT d.VAGUE_DATE_START FROM SAMPLE d WHERE d.SAMPLE_KEY = "
         "s.sample_key), (SELECT d.VAGUE_DATE_END FROM SAMPLE d WHERE d.SAMPLE_KEY = "
         "s.sample_key)" +
         QualifyingRecordsSql(dialect, "(" + inputs.taxonGroupKeys + ")",
                              "(" + inputs.surveyKeys + ")");
}

constexpr const char* kMeasureSampleTableSql = "ANALYZE temp.sample_grid";

// The names of the recommended items.
constexpr const char* kRecommendedNamesSql =
    "SELECT TAXON_LIST_ITEM_KEY, ACTUAL_NAME FROM INDEX_TAXON_NAME WHERE TAXON_LIST_ITEM_KEY IN "
    "(SELECT RECOMMENDED_TAXON_LIST_ITEM_KEY FROM INDEX_TAXON_NAME)";

// A row of a result read whole, as a streamed row.
class SnapshotRow final : public StreamedRow {
 public:
  explicit SnapshotRow(const QueryResult& result) : result_(result) {}

  bool IsNull(int column) const override {
    return std::holds_alternative<std::monostate>(result_.FieldValue(column));
  }
  std::string_view Text(int column) const override {
    texts_[column] = VariantToText(result_.FieldValue(column));
    return texts_[column];
  }
  std::optional<double> Number(int column) const override {
    const Variant value = result_.FieldValue(column);
    if (const auto* whole = std::get_if<long long>(&value)) return static_cast<double>(*whole);
    if (const auto* real = std::get_if<double>(&value)) return *real;
    if (const auto* text = std::get_if<std::string>(&value)) {
      size_t end = 0;
      try {
        const double number = std::stod(*text, &end);
        if (end == text->size()) return number;
      } catch (const std::exception&) {
      }
    }
    return std::nullopt;
  }

 private:
  const QueryResult& result_;
  mutable std::unordered_map<int, std::string> texts_;
};

// Runs a selection and hands its rows over one by one: streamed where the
// backend streams, else from the result read whole.
void ReadRows(DatabaseSession& session, const std::string& sql, const RowCallback& row) {
  if (StreamingAccess* streaming = session.Streaming()) {
    streaming->Stream(sql, row);
    return;
  }
  const std::unique_ptr<QueryResult> result = session.OpenQuery(sql);
  for (result->First(); !result->AtEnd(); result->Next()) row(SnapshotRow(*result));
}

// The year of a day number as a column gives it; nothing for NULL or a value
// that is no day.
std::optional<int> YearOf(const StreamedRow& row, int column) {
  const std::optional<double> day = row.Number(column);
  if (!day || !std::isfinite(*day) || *day < FirstDayOfYear(kFirstYear) ||
      *day > LastDayOfYear(kLastYear)) {
    return std::nullopt;
  }
  return YearOfDay(static_cast<int>(*day));
}

// Gathers the records taxon by taxon and cell by cell.
class AtlasGathering {
 public:
  explicit AtlasGathering(const MapState& map) : cells_(map) {}

  void Add(const StreamedRow& row) {
    if (row.IsNull(1) || row.IsNull(2)) return;
    const std::int32_t position = cells_.PositionOf(row.Text(1));
    if (position < 0) return;
    const int taxon = TaxonOf(row);
    // An occurrence with two preferred determinations of one taxon is one record.
    std::string occurrence(row.Text(2));
    occurrence.append(reinterpret_cast<const char*>(&taxon), sizeof taxon);
    const bool firstOfOccurrence = occurrences_.insert(std::move(occurrence)).second;

    const std::uint64_t key = std::uint64_t{static_cast<std::uint32_t>(taxon)} << 32 |
                              static_cast<std::uint32_t>(position);
    const auto [found, added] = cellOf_.try_emplace(key, taxa_[taxon].cells.size());
    if (added) {
      taxa_[taxon].cells.push_back({static_cast<size_t>(position), 0, std::nullopt, std::nullopt});
    }
    AtlasCell& cell = taxa_[taxon].cells[found->second];
    if (firstOfOccurrence) ++cell.records;
    std::optional<int> first = YearOf(row, 4);
    std::optional<int> last = YearOf(row, 5);
    if (!first) first = last;
    if (!last) last = first;
    if (first) cell.firstYear = std::min(cell.firstYear.value_or(*first), *first);
    if (last) cell.lastYear = std::max(cell.lastYear.value_or(*last), *last);
  }

  // The taxa with their names, sorted by name and key, each's cells in the
  // order of the cell list.
  // The taxa, each's cells in the order of the cell list.
  std::vector<AtlasTaxon> Taxa() && {
    for (AtlasTaxon& taxon : taxa_) std::ranges::sort(taxon.cells, {}, &AtlasCell::position);
    return std::move(taxa_);
  }

 private:
  int TaxonOf(const StreamedRow& row) {
    const int number = row.IsNull(0) ? NoKeyTaxon() : KeyedTaxon(row.Text(0));
    if (!row.IsNull(3)) {
      const std::string_view group = row.Text(3);
      std::string& least = taxa_[number].groupKey;
      if (least.empty() || group < least) least = group;
    }
    return number;
  }

  int KeyedTaxon(std::string_view key) {
    const auto found = taxonNumbers_.find(key);
    if (found != taxonNumbers_.end()) return found->second;
    taxonNumbers_.emplace(std::string(key), static_cast<int>(taxa_.size()));
    taxa_.push_back({std::string(key), {}, {}, {}});
    return static_cast<int>(taxa_.size()) - 1;
  }

  // The taxon of the records without a recommended item; an empty key is a
  // key like any other.
  int NoKeyTaxon() {
    if (!noKeyTaxon_) {
      noKeyTaxon_ = static_cast<int>(taxa_.size());
      taxa_.push_back({std::nullopt, {}, {}, {}});
    }
    return *noKeyTaxon_;
  }

  MapCells cells_;  // the map's cells, found by a sample's code as a count finds them
  std::vector<AtlasTaxon> taxa_;
  // Found by a key's text without copying it.
  struct TextHash : std::hash<std::string_view> {
    using is_transparent = void;
  };
  std::unordered_map<std::string, int, TextHash, std::equal_to<>> taxonNumbers_;
  std::optional<int> noKeyTaxon_;
  std::unordered_map<std::uint64_t, size_t> cellOf_;  // taxon << 32 | position: index in cells
  std::unordered_set<std::string> occurrences_;       // occurrence key and taxon number
};

std::unordered_map<std::string, std::string> RecommendedNames(DatabaseSession& session) {
  std::unordered_map<std::string, std::string> names;
  ReadRows(session, kRecommendedNamesSql, [&](const StreamedRow& row) {
    if (!row.IsNull(0) && !row.IsNull(1)) names.emplace(row.Text(0), row.Text(1));
  });
  return names;
}

// Names the taxa and sorts them by name, then key.
void NameAndSort(std::vector<AtlasTaxon>& taxa,
                 const std::unordered_map<std::string, std::string>& names) {
  for (AtlasTaxon& taxon : taxa) {
    if (!taxon.key) {
      taxon.name = kNoRecommendedTaxonName;
      continue;
    }
    const auto name = names.find(*taxon.key);
    taxon.name = name == names.end() ? *taxon.key : name->second;
  }
  std::ranges::sort(taxa, [](const AtlasTaxon& a, const AtlasTaxon& b) {
    return std::tie(a.name, a.key) < std::tie(b.name, b.key);
  });
}

// The statements' road: the records of the map's samples in one selection
// through the sample table.
std::vector<AtlasTaxon> SelectAtlasRecords(DatabaseSession& session, const MapState& map,
                                           const CountRunInputs& inputs, ProgressSink& progress) {
  AssignSampleCells(session, map, inputs.gridType, inputs.years, progress);
  // Without figures SQLite takes the sample table for as large as the
  // records and reads every record to find those of the map's samples; with
  // them it reads the records of its samples by their indexes.
  if (session.Dialect() == SqlDialect::SQLite) session.ExecuteNoRecords(kMeasureSampleTableSql);
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  session.SetCommandTimeout(kRecordsTimeoutSeconds);
  session.SetConnectionTimeout(kRecordsTimeoutSeconds);
  AtlasGathering gathering(map);
  ReadRows(session, AtlasRecordsSql(session.Dialect(), inputs),
           [&](const StreamedRow& row) { gathering.Add(row); });
  progress.SetProgressPosition(50);
  return std::move(gathering).Taxa();
}

}  // namespace

int AtlasTaxon::Records() const {
  int records = 0;
  for (const AtlasCell& cell : cells) records += cell.records;
  return records;
}

std::optional<int> AtlasTaxon::FirstYear() const {
  std::optional<int> first;
  for (const AtlasCell& cell : cells) {
    if (cell.firstYear) first = std::min(first.value_or(*cell.firstYear), *cell.firstYear);
  }
  return first;
}

std::optional<int> AtlasTaxon::LastYear() const {
  std::optional<int> last;
  for (const AtlasCell& cell : cells) {
    if (cell.lastYear) last = std::max(last.value_or(*cell.lastYear), *cell.lastYear);
  }
  return last;
}

// As a count run: the embedded backend streams, held on one committed state
// of the database; the SQL dialects, and databases the streamed road would
// read otherwise, select.
std::vector<AtlasTaxon> ReadAtlasRecords(DatabaseSession& session, const MapState& map,
                                         const CountRunInputs& inputs, ProgressSink& progress) {
  CheckYearRange(inputs.years);
  const HostKeys keys = CheckHostDatabase(session);
  StreamingAccess* streaming = session.Streaming();
  std::vector<AtlasTaxon> taxa;
  if (streaming && Streamable(session, *streaming, keys)) {
    const std::unique_ptr<HeldState> state = streaming->HoldState();
    const SampleCells samples =
        AssignSampleCellsStreamed(session, *streaming, map, inputs.gridType, inputs.years,
                                  "(" + inputs.surveyKeys + ")", progress);
    taxa = ReadAtlasStreamed(session, *streaming, state->Beside(), map, samples,
                             inputs.taxonGroupKeys, progress);
    NameAndSort(taxa, RecommendedNames(session));
    state->End();
  } else {
    taxa = SelectAtlasRecords(session, map, inputs, progress);
    NameAndSort(taxa, RecommendedNames(session));
  }
  progress.SetProgressPosition(100);
  return taxa;
}

}  // namespace velmora
