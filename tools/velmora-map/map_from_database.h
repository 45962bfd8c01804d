#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// velmora-map map (--db PATH | --connect TEXT) --out FILE.jpg|.png, with the
// dialog's settings and the count's options: the wizard's main job in one
// command, from the database to the finished map.
int RunMap(Arguments args);

}  // namespace velmora::cli
