#include "count/count_run.h"

#include "count/sample_assignment.h"
#include "count/taxa_count.h"

namespace velmora {

CountResult CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                          ProgressSink& progress) {
  CheckYearRange(inputs.years);
  AssignSampleCells(session, map, inputs.gridType, inputs.years, progress);
  const bool records = inputs.countRecords || inputs.measure == CountMeasure::Records;
  return CountTaxaPerCell(session, map, inputs.taxonGroupKeys, inputs.surveyKeys,
                          {inputs.measure, records}, progress);
}

}  // namespace velmora
