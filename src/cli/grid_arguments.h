#pragma once

#include <string_view>

#include "cli/command_errors.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"

namespace velmora::cli {

// The grid type of an item index "0" to "4" or of a grid type name.
const GridTypeInfo& ParseGridType(std::string_view text);

// The grid system of a code, QYX or QQQ.
const GridSystemInfo& ParseGridSystem(std::string_view code);

// A usage error when the grid system does not offer the grid type.
void CheckSystemOffersType(const GridSystemInfo& system, const GridTypeInfo& type);

// Checks the two corner sheets and builds the map state of their extent. The
// grid system does not change the cells of a grid type.
MapState BuildExtent(std::string_view northWest, std::string_view southEast,
                     const GridTypeInfo& gridType = kMesstischblatt,
                     const GridSystemInfo& gridSystem = kGridSystems[0]);

}  // namespace velmora::cli
