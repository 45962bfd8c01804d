#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// convert [--system QYX|QQQ] [--frame] [LAT LON]: the full cell code of one
// point, or of one "LAT LON" pair per line of standard input. convert
// --explain LAT LON: why a WGS84 point lands in the cells it does.
int RunConvert(Arguments args);

}  // namespace velmora::cli
