#include "count/count_run.h"

#include "count/statements/sample_assignment.h"
#include "count/statements/taxa_count.h"
#include "count/streamed/streamed_assignment.h"
#include "count/streamed/streamed_count.h"

namespace velmora {

// The embedded backend streams: there the samples and records are read once
// each and counted in memory; the statements would copy, update and select
// millions of rows into temporary tables first.
CountResult CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                          ProgressSink& progress) {
  CheckYearRange(inputs.years);
  const CountFigures figures{inputs.measure,
                             inputs.countRecords || inputs.measure == CountMeasure::Records};
  if (StreamingAccess* streaming = session.Streaming()) {
    const SampleCells samples =
        AssignSampleCellsStreamed(session, *streaming, map, inputs.gridType, inputs.years,
                                  "(" + inputs.surveyKeys + ")", progress);
    return CountTaxaStreamed(session, *streaming, map, samples, inputs.taxonGroupKeys, figures,
                             progress);
  }
  AssignSampleCells(session, map, inputs.gridType, inputs.years, progress);
  return CountTaxaPerCell(session, map, inputs.taxonGroupKeys, inputs.surveyKeys, figures,
                          progress);
}

}  // namespace velmora
