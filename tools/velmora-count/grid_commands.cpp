#include "velmora-count/grid_commands.h"

#include <string>

#include "cli/grid_arguments.h"
#include "cli/standard_output.h"
#include "count/statements/sheet_list.h"

namespace velmora::cli {
namespace {

void ExpectArgumentCount(Arguments args, size_t count, std::string_view usage) {
  if (args.size() != count) throw UsageError("usage: velmora-count " + std::string(usage));
}

}  // namespace

int RunCells(Arguments args) {
  ExpectArgumentCount(args, 3, "cells NW SE GRIDTYPE");
  const GridTypeInfo& gridType = ParseGridType(args[2]);
  const MapState state = BuildExtent(args[0], args[1], gridType);
  std::string out;
  for (const std::vector<TGrid>& row : state.Grids) {
    for (size_t j = 0; j < row.size(); ++j) {
      if (j > 0) out += '\t';
      out += row[j].Code;
    }
    out += '\n';
  }
  PrintOut(out);
  return 0;
}

int RunSheets(Arguments args) {
  ExpectArgumentCount(args, 2, "sheets NW SE");
  const MapState state = BuildExtent(args[0], args[1]);
  PrintOut(SheetListSql(state) + "\n");
  return 0;
}

}  // namespace velmora::cli
