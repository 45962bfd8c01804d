#pragma once

#include <string>

#include "grid/cell_list.h"

namespace velmora {

// The sheets of the map's extent as an SQL list, ready to follow NOT IN:
// ('0901','0902','1001','1002'). An extent without sheets gives "()", which no
// statement may be sent with.
std::string SheetListSql(const MapState& state);

}  // namespace velmora
