#pragma once

#include "database_argument.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "key_selection.h"
#include "option_reader.h"

namespace velmora::cli {

// What a count needs besides its map: the database and what to count in it.
struct CountArguments {
  DatabaseArgument database;
  KeySelection keys;
};

// Reads --db or --connect, --groups and --surveys; see their readers.
CountArguments ReadCountArguments(const OptionReader& given);

// The dialog's count run from the command line: binds the geodetic library,
// opens the database, checks the selected keys against its lists and counts
// into the map's cells, with the status texts on standard error and the bar on
// a terminal. Unknown keys are a UsageError; errors of the database pass out.
void CountIntoMap(const CountArguments& arguments, const GridTypeInfo& gridType, MapState& map);

}  // namespace velmora::cli
