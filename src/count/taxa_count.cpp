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

int CountOf(const Variant& value) {
  if (const long long* number = std::get_if<long long>(&value)) return static_cast<int>(*number);
  return std::stoi(VariantToText(value));
}

// Code -> figures of the counted cells; where a code stands twice, its first
// row counts.
std::unordered_map<std::string, CellCount> FiguresByCode(QueryResult& taxa, QueryResult* records) {
  std::unordered_map<std::string, CellCount> figures;
  figures.reserve(static_cast<size_t>(taxa.RecordCount()));
  for (taxa.First(); !taxa.AtEnd(); taxa.Next()) {
    std::string code = VariantToText(taxa.FieldValue("grid"));
    figures.emplace(code, CellCount{code, CountOf(taxa.FieldValue("Anzahl")), std::nullopt});
  }
  if (!records) return figures;
  for (records->First(); !records->AtEnd(); records->Next()) {
    const auto cell = figures.find(VariantToText(records->FieldValue("grid")));
    if (cell != figures.end() && !cell->second.records) {
      cell->second.records = CountOf(records->FieldValue("Anzahl"));
    }
  }
  return figures;
}

// Writes the measure into the cells, column by column, through the index from
// code to figures, and gathers the counted cells in the order of the cell list.
CountResult TransferCounts(const std::unordered_map<std::string, CellCount>& figures,
                           CountMeasure measure, MapState& map, ProgressSink& progress) {
  int shown = -1;
  for (int column = 0; column < map.CellColumns; ++column) {
    const int percent = column * 100 / map.CellColumns;
    if (percent != shown) progress.SetProgressPosition(shown = percent);
    for (int row = 0; row < map.CellRows; ++row) {
      TGrid& cell = map.Grids[row][column];
      const auto found = figures.find(cell.Code);
      if (found == figures.end()) continue;
      const CellCount& counted = found->second;
      cell.Count = std::to_string(measure == CountMeasure::Records ? counted.records.value_or(0)
                                                                   : counted.taxa);
    }
  }
  CountResult result;
  for (const std::vector<TGrid>& row : map.Grids) {
    for (const TGrid& cell : row) {
      const auto found = figures.find(cell.Code);
      if (found != figures.end()) result.cells.push_back(found->second);
    }
  }
  return result;
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

  progress.SetProgressText("Übertrage Auszählergebnisse");
  progress.SetProgressPosition(0);
  return TransferCounts(FiguresByCode(*taxa, records.get()), figures.measure, map, progress);
}

}  // namespace velmora
