#include "count_arguments.h"

#include "count/count_run.h"
#include "grid/geodll32.h"
#include "platform/db/database_session.h"
#include "terminal_progress.h"

namespace velmora::cli {

CountArguments ReadCountArguments(const OptionReader& given) {
  return {ReadDatabaseArgument(given), ReadKeySelection(given)};
}

void CountIntoMap(const CountArguments& arguments, const GridTypeInfo& gridType, MapState& map) {
  LoadGeodeticLibrary();
  // The session's own connection time-out bounds the opening, the wait for a
  // locked database included: a batch job should not sit silent for minutes.
  DatabaseSession session;
  session.Open(arguments.database.connectionString);
  const CheckedKeyLists keys = CheckKeySelection(session, arguments.keys);
  {
    TerminalProgress progress;
    CountDatabase(session, map, {&gridType, keys.taxonGroups, keys.surveys}, progress);
    progress.Finish();
  }
  session.Close();
}

}  // namespace velmora::cli
