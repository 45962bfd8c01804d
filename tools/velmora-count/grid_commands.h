#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// cells NW SE GRIDTYPE: the cell list, one line per cell row, codes tab-separated.
int RunCells(Arguments args);

// sheets NW SE: the extent's sheets as the SQL list the count engine sends.
int RunSheets(Arguments args);

}  // namespace velmora::cli
