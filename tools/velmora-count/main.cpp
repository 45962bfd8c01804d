// velmora-count: the grid and count engines from the command line.
#include <cstdio>
#include <string_view>
#include <vector>

#include "command_errors.h"
#include "convert_command.h"
#include "count_command.h"
#include "grid_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: velmora-count cells NW SE GRIDTYPE\n"
    "       velmora-count sheets NW SE\n"
    "       velmora-count convert [--system QYX|QQQ] [--frame] [LAT LON]\n"
    "       velmora-count count (--db PATH | --connect TEXT) --nw NW --se SE --system QYX|QQQ\n"
    "                           --type GRIDTYPE [--groups all|KEY,...] [--surveys all|KEY,...]\n"
    "                           [--csv]\n"
    "GRIDTYPE is 0-4 or Messtischblatt, Quadranten, 4tel-Quadranten, 16tel-Quadranten,\n"
    "Minutenfelder; NW and SE are sheet numbers such as 0901 or W5099. LAT and LON are\n"
    "WGS84 degrees (DHDN with --frame); without them one pair per line is read from stdin.\n";

constexpr velmora::cli::Command kCommands[] = {
    {"cells", velmora::cli::RunCells},
    {"sheets", velmora::cli::RunSheets},
    {"convert", velmora::cli::RunConvert},
    {"count", velmora::cli::RunCount},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::vector<std::string_view> args(argv + 2, argv + argc);
  return velmora::cli::RunNamedCommand("velmora-count", kCommands, kUsage, argv[1], args);
}
