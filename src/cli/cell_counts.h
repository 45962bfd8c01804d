#pragma once

#include <string>
#include <string_view>

#include "grid/cell_list.h"
#include "grid/grid_types.h"

namespace velmora::cli {

// Reads counts as velmora-count count prints them into the Count of the map's
// cells: one "CODE<TAB>COUNT" per line, or CSV whose header names its columns,
// of which the code and `column` ("taxa" or "records"; a "count" column of
// older files stands for either) are taken. Codes of the grid type that name no cell of the map are
// passed over, as the count run does. Codes that are no cell codes of the grid type at all (counts
// made for another grid type) are refused with a UsageError naming them; a line without a separator
// or without a whole number after it, a count of more digits than an int has, and a file that is
// not a regular file raise an Exception naming it. A UTF-8 byte order mark at the start is passed
// over.
void ReadCellCounts(const std::string& path, const GridTypeInfo& gridType, std::string_view column,
                    MapState& map);

}  // namespace velmora::cli
