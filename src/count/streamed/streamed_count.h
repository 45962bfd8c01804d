#pragma once

#include <string_view>

#include "count/count_result.h"
#include "count/count_transfer.h"
#include "count/streamed/streamed_assignment.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// CountTaxaPerCell on the embedded backend: one ordered pass over the
// qualifying records (occurrence and preferred determination) gives each its
// sample's cell (the samples of surveys not chosen have none) and its
// recommended taxon, and the distinct taxa (and records) of every cell are
// counted in memory; the taxa of the chosen groups are looked up beforehand in
// their small tables. Same counts, status texts and transfer as the
// statements; the bar also moves while the records are read. The records are
// read through the session and, on a second core, through `beside`, a reader
// of the same state of the database.
CountResult CountTaxaStreamed(DatabaseSession& session, StreamingAccess& streaming,
                              RowReader& beside, MapState& map, const SampleCells& samples,
                              std::string_view taxonGroupKeys, CountFigures figures,
                              ProgressSink& progress);

}  // namespace velmora
