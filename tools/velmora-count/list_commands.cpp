#include "velmora-count/list_commands.h"

#include <string>

#include "cli/database_argument.h"
#include "cli/key_selection.h"
#include "cli/option_reader.h"
#include "cli/standard_output.h"
#include "count/selection_lists.h"
#include "platform/db/database_session.h"

namespace velmora::cli {
namespace {

constexpr KnownOption kOptions[] = {{"--db"}, {"--connect"}};

int PrintList(std::string_view command, Arguments args,
              void (*load)(DatabaseSession&, const AppendSelectionItem&)) {
  const std::string usage =
      "\nusage: velmora-count " + std::string(command) + " (--db PATH | --connect TEXT)";
  const OptionReader given(args, kOptions,
                           {.unknown = "unknown option '%s'" + usage,
                            .unexpected = "unknown argument '%s'" + usage,
                            .needsValue = "option %s needs a value"});
  const DatabaseArgument database = ReadDatabaseArgument(given);
  DatabaseSession session;
  session.Open(database.connectionString);
  // Printed only once the whole list has been read: a failing read prints nothing.
  std::string out;
  load(session, [&out](SelectionItem item) {
    out += EscapeKey(item.key) + '\t' + EscapeName(item.name) + '\n';
  });
  session.Close();
  PrintOut(out);
  return 0;
}

}  // namespace

int RunGroups(Arguments args) { return PrintList("groups", args, LoadTaxonGroups); }

int RunSurveys(Arguments args) { return PrintList("surveys", args, LoadSurveys); }

}  // namespace velmora::cli
