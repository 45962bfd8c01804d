#pragma once

#include <functional>

#include "count/streamed/keyed_cells.h"
#include "count/streamed/streamed_assignment.h"
#include "count/streamed/taxa_of_items.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// What a counted occurrence is kept with: its sample's cell, all a count
// needs, or its sample's number, by which an atlas finds the sample's cell
// and years.
enum class OccurrenceValue { Cell, Sample };

// The occurrences that count by the record rule and belong to a sample that
// counts in a cell, read whole in parts on both readers (ReadInParts) while
// the bar goes from 0 to 25, each with its value, and sealed.
KeyedCells ReadCountedOccurrences(DatabaseSession& session, StreamingAccess& streaming,
                                  RowReader& beside, const SampleCells& samples,
                                  OccurrenceValue value, ProgressSink& progress);

// Takes a determination that counts: on the thread of worker `worker` (as
// ReadInParts numbers them), the number of its occurrence and its item.
using TakeDetermination =
    std::function<void(int worker, int occurrence, const TaxaOfItems::Item& item)>;

// The determinations that count by the record rule, read whole in parts on
// both readers while the bar goes from 25 to 50: `take` gets each whose
// occurrence is one of `occurrences` and whose item is of a chosen group (one
// of `taxa`), and `done(worker)` ends each worker on its thread.
void ReadCountedDeterminations(DatabaseSession& session, StreamingAccess& streaming,
                               RowReader& beside, const KeyedCells& occurrences,
                               const TaxaOfItems& taxa, const TakeDetermination& take,
                               const std::function<void(int)>& done, ProgressSink& progress);

}  // namespace velmora
