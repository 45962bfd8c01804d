#include "grid_commands.h"

#include <cstdio>
#include <string>

#include "count/sheet_list.h"

namespace velmora::cli {

int RunCells(Arguments args) {
  ExpectArgumentCount(args, 3, "cells NW SE GRIDTYPE");
  const int gridType = ParseGridType(args[2]);
  const MapState state = BuildExtent(args[0], args[1], gridType, 0);
  std::string out;
  for (const std::vector<TGrid>& row : state.Grids) {
    for (size_t j = 0; j < row.size(); ++j) {
      if (j > 0) out += '\t';
      out += row[j].Code;
    }
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int RunSheets(Arguments args) {
  ExpectArgumentCount(args, 2, "sheets NW SE");
  const MapState state = BuildExtent(args[0], args[1], 0, 0);
  std::printf("%s\n", SheetListSql(state).c_str());
  return 0;
}

}  // namespace velmora::cli
