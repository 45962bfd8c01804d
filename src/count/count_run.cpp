#include "count/count_run.h"

#include "count/sample_assignment.h"
#include "count/taxa_count.h"

namespace velmora {

void CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                   ProgressSink& progress) {
  AssignSampleCells(session, map, inputs.gridType, progress);
  CountTaxaPerCell(session, map, inputs.taxonGroupKeys, inputs.surveyKeys, progress);
}

}  // namespace velmora
