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
  // The file of an embedded database, given either way; nothing for ODBC.
  std::optional<std::filesystem::path> file;
};

// Reads --db or --connect; a UsageError when neither or both are given, or
// when the --db file is missing, no file, or has a ';' in its path (the
// connection string would end its Data Source there and open another file).
DatabaseArgument ReadDatabaseArgument(const OptionReader& given);

}  // namespace velmora::cli
