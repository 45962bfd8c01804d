#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// velmora-map atlas (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ
//                   --type GRIDTYPE --bmp BMP --out FOLDER [...]
int RunAtlas(Arguments args);

}  // namespace velmora::cli
