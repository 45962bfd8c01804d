#include "count/taxa_count.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "count/count_sql.h"
#include "grid/grid_types.h"

namespace velmora {
namespace {

// The long selection over the host's occurrence tables gets this much time.
constexpr int kCountTimeoutSeconds = 400;

// Writes the counts into the cells, column by column, through an index from
// code to count built once; where a code stands twice, its first row counts.
void TransferCounts(QueryResult& counts, MapState& map, ProgressSink& progress) {
  std::unordered_map<std::string, std::string> countOf;
  countOf.reserve(static_cast<size_t>(counts.RecordCount()));
  for (counts.First(); !counts.AtEnd(); counts.Next()) {
    countOf.emplace(VariantToText(counts.FieldValue("grid")),
                    VariantToText(counts.FieldValue("Anzahl")));
  }
  int shown = -1;
  for (int column = 0; column < map.CellColumns; ++column) {
    const int percent = column * 100 / map.CellColumns;
    if (percent != shown) progress.SetProgressPosition(shown = percent);
    for (int row = 0; row < map.CellRows; ++row) {
      TGrid& cell = map.Grids[row][column];
      const auto found = countOf.find(cell.Code);
      if (found != countOf.end()) cell.Count = found->second;
    }
  }
}

}  // namespace

void CountTaxaPerCell(DatabaseSession& session, MapState& map, std::string_view taxonGroupKeys,
                      std::string_view surveyKeys, ProgressSink& progress) {
  const CountSql sql(session.Dialect());
  session.OpenQuery(sql.DropInterim());
  const GridTypeInfo& gridType = GridTypeOfCellsPerSheet(map.CellsPerSheet);
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  const std::string taxonGroups = "(" + std::string(taxonGroupKeys) + ")";
  const std::string surveys = "(" + std::string(surveyKeys) + ")";
  const std::string selection = sql.SelectInterim(gridType, taxonGroups, surveys);
  session.SetCommandTimeout(kCountTimeoutSeconds);
  session.SetConnectionTimeout(kCountTimeoutSeconds);
  session.OpenQuery(selection);

  progress.SetProgressPosition(50);
  progress.SetProgressText("Zähle Datensätze...");
  const std::unique_ptr<QueryResult> counts = session.OpenQuery(sql.CountPerCell(gridType));
  if (counts->RecordCount() <= 0) return;

  progress.SetProgressText("Übertrage Auszählergebnisse");
  progress.SetProgressPosition(0);
  TransferCounts(*counts, map, progress);
}

}  // namespace velmora
