#pragma once

#include <cstdint>
#include <optional>
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
  // By sample number, the years its vague date begins and ends in
  // (SampleYears); an atlas tells its records' years by them.
  LargeVector<std::uint32_t> years;
};

// A sample's first and last year packed as first << 16 | last; 0 for a sample
// without a date. A date open at one end has its one year as both.
std::uint32_t SampleYears(std::optional<double> startDay, std::optional<double> endDay);
inline std::optional<int> FirstYearOf(std::uint32_t years) {
  return years ? std::optional<int>(static_cast<int>(years >> 16)) : std::nullopt;
}
inline std::optional<int> LastYearOf(std::uint32_t years) {
  return years ? std::optional<int>(static_cast<int>(years & 0xFFFF)) : std::nullopt;
}

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
