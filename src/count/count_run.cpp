#include "count/count_run.h"

#include <memory>

#include "count/host_schema.h"
#include "count/statements/sample_assignment.h"
#include "count/statements/taxa_count.h"
#include "count/streamed/streamable.h"
#include "count/streamed/streamed_assignment.h"
#include "count/streamed/streamed_count.h"

namespace velmora {

// The embedded backend streams: there the samples and records are read once
// each and counted in memory; the statements would copy, update and select
// millions of rows into temporary tables first. Its passes read in many
// statements on two connections, all of them held on one committed state of
// the database, so that what another program commits meanwhile cannot mix
// into the count. A database that the passes would read otherwise than the
// statements is counted by the statements.
CountResult CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                          ProgressSink& progress) {
  CheckYearRange(inputs.years);
  const HostKeys keys = CheckHostDatabase(session);
  const CountFigures figures{inputs.measure,
                             inputs.countRecords || inputs.measure == CountMeasure::Records};
  StreamingAccess* streaming = session.Streaming();
  if (streaming && Streamable(session, *streaming, keys)) {
    const std::unique_ptr<HeldState> state = streaming->HoldState();
    const SampleCells samples =
        AssignSampleCellsStreamed(session, *streaming, map, inputs.gridType, inputs.years,
                                  "(" + inputs.surveyKeys + ")", progress);
    CountResult result = CountTaxaStreamed(session, *streaming, state->Beside(), map, samples,
                                           inputs.taxonGroupKeys, figures, progress);
    state->End();
    return result;
  }
  AssignSampleCells(session, map, inputs.gridType, inputs.years, progress);
  return CountTaxaPerCell(session, map, inputs.taxonGroupKeys, inputs.surveyKeys, figures,
                          progress);
}

}  // namespace velmora
