#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "count/streamed/keyed_cells.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// What the streamed count needs of the samples: every sample read, in key
// order, with the position (CellPosition) of the cell its code names when cut
// to the map's grid type; -1 for a sample that counts in no cell, which
// includes every sample of a survey that is not counted.
struct SampleCells {
  KeyedCells samples;
};

// AssignSampleCells on the embedded backend, in one ordered pass over the
// samples: each is read once, its code taken over or converted (beside the
// database's work, on the second core), and only the samples that keep a code
// on one of the map's sheets are written into the session's sample table,
// which then holds what the statements would leave in it. Same status texts;
// the bar also moves while the samples are read and their rows written. The
// survey list (a complete SQL list such as ('K1','K2')) decides which samples
// count.
SampleCells AssignSampleCellsStreamed(DatabaseSession& session, StreamingAccess& streaming,
                                      const MapState& map, const GridTypeInfo* gridType,
                                      const YearRange& years, std::string_view surveyList,
                                      ProgressSink& progress);

}  // namespace velmora
