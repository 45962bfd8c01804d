#pragma once

#include "count/year_range.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// Builds the session's sample table: every sample with a latitude, with the
// code of the cell it lies in at the finest level of the map's grid system -
// converted from its coordinates, or its own grid reference where the grid type
// admits that reference's system - and then without the samples that got no
// code or lie outside the map's sheets. No grid type chosen: no reference is
// taken over. With year limits only the samples dated within them are taken.
// Database and conversion errors pass out unchanged.
void AssignSampleCells(DatabaseSession& session, const MapState& map, const GridTypeInfo* gridType,
                       const YearRange& years, ProgressSink& progress);

}  // namespace velmora
