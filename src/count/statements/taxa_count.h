#pragma once

#include <string_view>

#include "count/count_result.h"
#include "count/count_transfer.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// Counts, per cell of the map's grid type, the distinct recommended taxa (and
// the records, when asked) with a qualifying determination in the session's
// sample table, writes the measure into the Count of each counted cell and
// returns the figures of the counted cells. The key lists are CheckedKeyList
// results for the taxon groups and the surveys. Cells without a count keep
// their text.
CountResult CountTaxaPerCell(DatabaseSession& session, MapState& map,
                             std::string_view taxonGroupKeys, std::string_view surveyKeys,
                             CountFigures figures, ProgressSink& progress);

}  // namespace velmora
