#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// count --db PATH | --connect TEXT, --nw NW --se SE --system QYX|QQQ --type GRIDTYPE
// [--groups all|KEY,...] [--surveys all|KEY,...] [--csv]: the count run of the
// dialog; prints every cell with a count, in cell-list order.
int RunCount(Arguments args);

}  // namespace velmora::cli
