#include "count/count_run.h"

#include <optional>

#include "count/sample_assignment.h"
#include "count/taxa_count.h"

namespace velmora {

void CountDatabase(DatabaseSession& session, MapState& map, const CountRunInputs& inputs,
                   ProgressSink& progress) {
  const std::optional<int> gridTypeItem =
      inputs.gridType ? std::optional<int>(inputs.gridType->item) : std::nullopt;
  AssignSampleCells(session, map, gridTypeItem, progress);
  CountTaxaPerCell(session, map, inputs.taxonGroupKeys, inputs.surveyKeys, progress);
}

}  // namespace velmora
