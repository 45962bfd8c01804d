#pragma once

#include "cli/command_errors.h"

namespace velmora::cli {

// velmora-map draw --nw NW --se SE --bmp BMP --out PNG [--font-size N] [--color C]
//                  [--counts FILE --type GRIDTYPE [--cell-font-size N] [--cell-color C]]
int RunDraw(Arguments args);

// velmora-map background --nw NW --se SE --out BMP [--sheet-size PIXELS]
int RunBackground(Arguments args);

}  // namespace velmora::cli
