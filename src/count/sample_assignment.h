#pragma once

#include <optional>

#include "count/progress.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"

namespace velmora {

// Builds the session's sample table: every sample with a latitude, with the
// code of the cell it lies in at the finest level of the map's grid system -
// converted from its coordinates, or its own grid reference where the grid type
// admits that reference's system - and then without the samples that got no
// code or lie outside the map's sheets. No grid type item: no reference is
// taken over. Database and conversion errors pass out unchanged.
void AssignSampleCells(DatabaseSession& session, const MapState& map,
                       std::optional<int> gridTypeItem, ProgressSink& progress);

}  // namespace velmora
