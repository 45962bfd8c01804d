#include "host/options.h"

#include <filesystem>

#include "cli/option_reader.h"
#include "cli/program_help.h"
#include "host/application_settings.h"
#include "platform/db/connection_string.h"

namespace velmora::host {

const std::string_view kHostHelp =
    "velmora-host stands in for Recorder 6: it loads the installed add-ins, shows their menu\n"
    "entries under the menus they name and offers its database to them.\n"
    "  --db PATH               makes the SQLite database PATH the host's database\n"
    "  --connect TEXT          makes TEXT the connection string of the host's database\n"
    "  --install-addin MODULE  installs the add-in module MODULE first\n"
    "  --list-addins           prints the installed add-ins' names and descriptions and ends\n"
    "  --help, -h              shows this help and ends\n";

HostOptions ParseHostOptions(cli::Arguments args) {
  static constexpr cli::KnownOption kOptions[] = {
      {"--db"}, {"--connect"}, {"--install-addin"}, {"--list-addins", false}};
  HostOptions options;
  // Whatever else the arguments say, the user asks how the program is used.
  if (cli::AsksForHelp(args)) {
    options.help = true;
    return options;
  }
  const cli::OptionReader reader(args, kOptions);
  if (reader.Has("--db") && reader.Has("--connect")) {
    throw cli::UsageError("give the database either by --db or by --connect");
  }
  if (const std::optional<std::string> path = reader.Optional("--db")) {
    if (path->empty()) throw cli::UsageError("--db needs a path");
    options.connectionString = SqliteConnectionString(std::filesystem::absolute(*path));
  }
  if (reader.Has("--connect")) options.connectionString = reader.Optional("--connect");
  options.module = reader.Optional("--install-addin");
  options.listAddins = reader.Has("--list-addins");
  return options;
}

}  // namespace velmora::host
