#include "count/statements/sample_assignment.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "count/sample_table.h"
#include "count/statements/count_sql.h"
#include "count/statements/sheet_list.h"
#include "grid/coordinate_conversion.h"

namespace velmora {
namespace {

// Updates go to the server in batches of this many samples.
constexpr size_t kUpdateBatch = 4096;

// Converts every sample of the open result and stores its code, the bar
// following the samples sent so far.
void ConvertSamples(DatabaseSession& session, const CountSql& sql, QueryResult& samples,
                    const std::string& gridSystemCode, ProgressSink& progress) {
  const std::unique_ptr<PreparedStatement> update = session.Prepare(sql.UpdateSampleCell());
  const int total = samples.RecordCount();
  std::vector<std::vector<std::string>> batch;
  batch.reserve(kUpdateBatch);
  auto send = [&](int position) {
    update->ExecuteBatch(batch);
    batch.clear();
    progress.SetProgressPosition(static_cast<int>(position * 100LL / total));
  };
  while (!samples.AtEnd()) {
    const std::optional<double> latitude = VariantToNumber(samples.FieldValue("LAT"));
    const std::optional<double> longitude = VariantToNumber(samples.FieldValue("LONG"));
    // A sample without a longitude lies nowhere: no code, removed below.
    std::string code = latitude && longitude
                           ? CoordinateToCellCode(gridSystemCode, *latitude, *longitude)
                           : std::string();
    batch.push_back(
        {std::move(code), gridSystemCode, VariantToText(samples.FieldValue("SAMPLE_KEY"))});
    if (batch.size() == kUpdateBatch) send(samples.Position());
    samples.Next();
  }
  if (!batch.empty()) send(total);
}

// Copies the samples into the sample table. Where its key refuses one, the
// error names the host's table and the key, not the session's table.
void CopySamples(DatabaseSession& session, const CountSql& sql, const YearRange& years) {
  try {
    session.ExecuteNoRecords(sql.CopySamples(years));
  } catch (const DatabaseError&) {
    if (VariantToText(session.OpenQuery(sql.SamplesWithoutKey(years))->FieldValue(0)) != "0") {
      throw SampleWithoutKeyError();
    }
    const std::unique_ptr<QueryResult> twice = session.OpenQuery(sql.SampleKeysTwice(years));
    if (!twice->AtEnd()) throw SampleKeyTwiceError(VariantToText(twice->FieldValue(0)));
    throw;
  }
}

}  // namespace

void AssignSampleCells(DatabaseSession& session, const MapState& map, const GridTypeInfo* gridType,
                       const YearRange& years, ProgressSink& progress) {
  const CountSql sql(session.Dialect());
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Aufnahmen...");
  session.ExecuteNoRecords(DropSampleTableSql(session.Dialect()));
  session.ExecuteNoRecords(CreateSampleTableSql(session.Dialect()));
  CopySamples(session, sql, years);
  const std::unique_ptr<QueryResult> samples = session.OpenQuery(sql.SamplesToConvert());

  progress.SetProgressPosition(0);
  progress.SetProgressText("Errechne Raster...");
  ConvertSamples(session, sql, *samples, map.GridSystemCode, progress);

  progress.SetProgressPosition(0);
  progress.SetProgressText("Entferne überflüssige Raster...");
  if (gridType) session.OpenQuery(sql.TakeOverGridReferences(*gridType));
  progress.SetProgressPosition(25);
  session.OpenQuery(sql.DeleteEmptyCodes());
  progress.SetProgressPosition(50);
  session.OpenQuery(sql.DeleteMissingCodes());
  const std::string sheetList = SheetListSql(map);
  progress.SetProgressPosition(75);
  session.OpenQuery(sql.DeleteOutsideSheets(sheetList));
  progress.SetProgressPosition(100);
}

}  // namespace velmora
