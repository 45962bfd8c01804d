#pragma once

#include <string_view>

#include "count/progress.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"

namespace velmora {

// Counts, per cell of the map's grid type, the distinct recommended taxa with a
// qualifying determination in the session's sample table, and writes each count
// into the Count of its cell. The key lists are CheckedKeyList results for the
// taxon groups and the surveys. Cells without a count keep their text.
void CountTaxaPerCell(DatabaseSession& session, MapState& map, std::string_view taxonGroupKeys,
                      std::string_view surveyKeys, ProgressSink& progress);

}  // namespace velmora
