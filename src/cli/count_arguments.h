#pragma once

#include <string_view>

#include "cli/database_argument.h"
#include "cli/key_selection.h"
#include "cli/option_reader.h"
#include "count/count_result.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"

namespace velmora::cli {

// What a count needs besides its map: the database, what to count in it, and
// what the cells' numbers show.
struct CountArguments {
  DatabaseArgument database;
  KeySelection keys;
  YearRange years;
  CountMeasure measure = CountMeasure::Taxa;
};

// Reads --measure taxa|records (default taxa).
CountMeasure ReadMeasure(const OptionReader& given);

// "taxa" or "records", as options and column headers name the measure.
std::string_view MeasureName(CountMeasure measure);

// Reads --db or --connect, --groups and --surveys (see their readers),
// --from YEAR and --to YEAR (1 to 9999, the first not after the second) and
// --measure taxa|records.
CountArguments ReadCountArguments(const OptionReader& given);

// The dialog's count run from the command line: binds the geodetic library,
// opens the database, checks the selected keys against its lists and counts
// into the map's cells, with the status texts on standard error and the bar on
// a terminal. The cells' Count shows the measure; the result has the records
// of each cell as well when `withRecords`. Unknown keys are a UsageError; a
// geodetic library that cannot be bound is a GeodeticLibraryError before any
// work, as a count without it would leave out every sample with coordinates;
// errors of the database pass out.
CountResult CountIntoMap(const CountArguments& arguments, const GridTypeInfo& gridType,
                         bool withRecords, MapState& map);

}  // namespace velmora::cli
