#pragma once

#include <string>

#include "grid/cell_list.h"

namespace velmora::cli {

// Reads counts as velmora-count count prints them - one "CODE<TAB>COUNT" or
// "CODE,COUNT" per line, a "code,count" header allowed - into the Count of the
// map's cells. Codes that name no cell of the map are passed over, as the
// count run does; a line without a separator raises an Exception naming it.
void ReadCellCounts(const std::string& path, MapState& map);

}  // namespace velmora::cli
