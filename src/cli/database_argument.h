#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/option_reader.h"

namespace velmora::cli {

// The database a command reads, from exactly one of --db PATH (an SQLite
// file, which must be there) and --connect TEXT (any connection string).
struct DatabaseArgument {
  std::string connectionString;
  // The database file, where the connection string names one: an embedded
  // database, given either way, or one opened through the SQLite ODBC driver.
  std::optional<std::filesystem::path> file;
};

// Reads --db or --connect; a UsageError when neither or both are given, or
// when the --db file is missing or no file. The --db path is taken as given,
// blanks and ';' included.
DatabaseArgument ReadDatabaseArgument(const OptionReader& given);

}  // namespace velmora::cli
