#pragma once

#include <functional>
#include <string_view>

#include "cli/database_argument.h"
#include "cli/key_selection.h"
#include "cli/option_reader.h"
#include "count/count_result.h"
#include "count/count_run.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

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

// What a command does with the open session once the keys are checked: the
// count run (CountDatabase) into its map, or a job that holds it.
using SessionCount = std::function<CountResult(
    DatabaseSession& session, const CountRunInputs& inputs, ProgressSink& progress)>;

// The dialog's count run from the command line: binds the geodetic library,
// opens the database, checks the selected keys against its lists and runs
// `count` for them, with the status texts on standard error and the bar on a
// terminal. The count shows the measure in the cells' Count; its result has
// the records of each cell as well when `withRecords`. Unknown keys are a
// UsageError; a geodetic library that cannot be bound is a
// GeodeticLibraryError before any work, as a count without it would leave out
// every sample with coordinates; errors of the database pass out.
CountResult CountFromCommandLine(const CountArguments& arguments, const GridTypeInfo& gridType,
                                 bool withRecords, const SessionCount& count);

// CountFromCommandLine with the count run into the map's cells.
CountResult CountIntoMap(const CountArguments& arguments, const GridTypeInfo& gridType,
                         bool withRecords, MapState& map);

}  // namespace velmora::cli
