#include "cli/count_arguments.h"

#include <string>

#include "cli/terminal_progress.h"
#include "count/count_run.h"
#include "grid/geodll32.h"
#include "platform/db/database_session.h"

namespace velmora::cli {
namespace {

YearRange ReadYears(const OptionReader& given) {
  const YearRange years{given.WholeNumber("--from", kFirstYear, kLastYear),
                        given.WholeNumber("--to", kFirstYear, kLastYear)};
  if (years.from && years.to && *years.from > *years.to) {
    throw UsageError("--from " + std::to_string(*years.from) + " lies after --to " +
                     std::to_string(*years.to));
  }
  return years;
}

}  // namespace

CountMeasure ReadMeasure(const OptionReader& given) {
  const std::string measure = given.Optional("--measure").value_or("taxa");
  if (measure == MeasureName(CountMeasure::Taxa)) return CountMeasure::Taxa;
  if (measure == MeasureName(CountMeasure::Records)) return CountMeasure::Records;
  throw UsageError("--measure takes taxa or records, not '" + measure + "'");
}

std::string_view MeasureName(CountMeasure measure) {
  return measure == CountMeasure::Taxa ? "taxa" : "records";
}

CountArguments ReadCountArguments(const OptionReader& given) {
  return {ReadDatabaseArgument(given), ReadKeySelection(given), ReadYears(given),
          ReadMeasure(given)};
}

CountResult CountFromCommandLine(const CountArguments& arguments, const GridTypeInfo& gridType,
                                 bool withRecords, const SessionCount& count) {
  RequireGeodeticLibrary();
  // The session's own connection time-out bounds the opening, the wait for a
  // locked database included: a batch job should not sit silent for minutes.
  DatabaseSession session;
  session.Open(arguments.database.connectionString);
  const CheckedKeyLists keys = CheckKeySelection(session, arguments.keys);
  CountResult result;
  {
    TerminalProgress progress;
    result = count(session,
                   {.gridType = &gridType,
                    .taxonGroupKeys = keys.taxonGroups,
                    .surveyKeys = keys.surveys,
                    .years = arguments.years,
                    .measure = arguments.measure,
                    .countRecords = withRecords},
                   progress);
    progress.Finish();
  }
  session.Close();
  return result;
}

CountResult CountIntoMap(const CountArguments& arguments, const GridTypeInfo& gridType,
                         bool withRecords, MapState& map) {
  return CountFromCommandLine(
      arguments, gridType, withRecords,
      [&map](DatabaseSession& session, const CountRunInputs& inputs, ProgressSink& progress) {
        return CountDatabase(session, map, inputs, progress);
      });
}

}  // namespace velmora::cli
