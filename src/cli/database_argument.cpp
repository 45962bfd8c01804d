#include "cli/database_argument.h"

#include "platform/db/connection_string.h"

namespace velmora::cli {

DatabaseArgument ReadDatabaseArgument(const OptionReader& given) {
  if (given.Has("--db") == given.Has("--connect")) {
    throw UsageError("give the database with exactly one of --db and --connect");
  }
  const std::optional<std::string> path = given.Optional("--db");
  if (!path) {
    DatabaseArgument database{given.Required("--connect"), std::nullopt};
    database.file = DatabaseFileOf(database.connectionString);
    return database;
  }
  if (!std::filesystem::exists(*path)) {
    throw UsageError("the database file '" + *path + "' does not exist");
  }
  if (!std::filesystem::is_regular_file(*path)) {
    throw UsageError("'" + *path + "' is not a database file");
  }
  return {SqliteConnectionString(*path), *path};
}

}  // namespace velmora::cli
