#pragma once

#include <string_view>
#include <vector>

#include "count/atlas_records.h"
#include "count/streamed/streamed_assignment.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// The atlas's records on the embedded backend, read as the streamed count
// reads them: the occurrences that count, with their samples, and then their
// determinations, in parts on the session and on `beside`, a reader of the
// same state of the database. Each distinct (taxon, occurrence) is one record
// of its taxon in its sample's cell, with its sample's years. Gives the taxa
// with their keys, groups and cells (in the order of the cell list), without
// names and in no particular order.
std::vector<AtlasTaxon> ReadAtlasStreamed(DatabaseSession& session, StreamingAccess& streaming,
                                          RowReader& beside, const MapState& map,
                                          const SampleCells& samples,
                                          std::string_view taxonGroupKeys, ProgressSink& progress);

}  // namespace velmora
