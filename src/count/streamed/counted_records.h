#pragma once

#include <string>

#include "count/streamed/keyed_cells.h"
#include "count/streamed/streamed_assignment.h"
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

// The determinations that count by the record rule, of a range of their keys
// (a part of a PartedPass), in key order: the occurrence's key, the item's
// key and the determination's key.
std::string CountedDeterminationsSql(const std::string& range);

}  // namespace velmora
