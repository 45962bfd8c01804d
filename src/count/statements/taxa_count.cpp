#include "count/statements/taxa_count.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "count/count_transfer.h"
#include "count/statements/count_sql.h"
#include "grid/grid_types.h"

namespace velmora {
namespace {

// The long selection over the host's occurrence tables gets this much time.
constexpr int kCountTimeoutSeconds = 400;

int CountOf(const Variant& value) {
  if (const long long* number = std::get_if<long long>(&value)) return static_cast<int>(*number);
  return std::stoi(VariantToText(value));
}

// The figures of the cells that the results name; a code that is no cell of
// the map is left out, and where a code stands twice its first row counts.
FiguresOfCells FiguresFromResults(const MapState& map, QueryResult& taxa, QueryResult* records) {
  std::unordered_map<std::string, size_t> positionOf;
  const size_t cellCount = static_cast<size_t>(map.CellRows) * map.CellColumns;
  positionOf.reserve(cellCount);
  for (int row = 0; row < map.CellRows; ++row) {
    for (int column = 0; column < map.CellColumns; ++column) {
      positionOf.emplace(map.Grids[row][column].Code, CellPosition(map, row, column));
    }
  }
  FiguresOfCells cells(cellCount);
  const auto read = [&](QueryResult& result, int CellFigures::*figure) {
    for (result.First(); !result.AtEnd(); result.Next()) {
      const auto position = positionOf.find(VariantToText(result.FieldValue("grid")));
      if (position == positionOf.end()) continue;
      int& value = cells[position->second].*figure;
      if (value == 0) value = CountOf(result.FieldValue("Anzahl"));
    }
  };
  read(taxa, &CellFigures::taxa);
  if (records) read(*records, &CellFigures::records);
  return cells;
}

}  // namespace

CountResult CountTaxaPerCell(DatabaseSession& session, MapState& map,
                             std::string_view taxonGroupKeys, std::string_view surveyKeys,
                             CountFigures figures, ProgressSink& progress) {
  const CountSql sql(session.Dialect());
  session.OpenQuery(sql.DropInterim());
  const GridTypeInfo& gridType = GridTypeOfCellsPerSheet(map.CellsPerSheet);
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  const std::string taxonGroups = "(" + std::string(taxonGroupKeys) + ")";
  const std::string surveys = "(" + std::string(surveyKeys) + ")";
  const std::string selection = sql.SelectInterim(gridType, taxonGroups, surveys, figures.records);
  session.SetCommandTimeout(kCountTimeoutSeconds);
  session.SetConnectionTimeout(kCountTimeoutSeconds);
  session.OpenQuery(selection);

  progress.SetProgressPosition(50);
  progress.SetProgressText("Zähle Datensätze...");
  const std::unique_ptr<QueryResult> taxa = session.OpenQuery(sql.CountPerCell(gridType));
  const std::unique_ptr<QueryResult> records =
      figures.records ? session.OpenQuery(sql.RecordsPerCell(gridType)) : nullptr;
  if (taxa->RecordCount() <= 0) return {};
  const std::unique_ptr<QueryResult> distinct = session.OpenQuery(sql.DistinctTaxa(gridType));

  progress.SetProgressText("Übertrage Auszählergebnisse");
  progress.SetProgressPosition(0);
  CountResult result =
      TransferCounts(FiguresFromResults(map, *taxa, records.get()), figures, map, progress);
  distinct->First();
  result.distinctTaxa = CountOf(distinct->FieldValue("Anzahl"));
  return result;
}

}  // namespace velmora
