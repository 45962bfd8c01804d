#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

// The database path when the connection string selects the embedded SQLite
// backend ("Provider=SQLite;Data Source=PATH", keys in any case and order);
// nothing for any other text, which belongs to the ODBC driver manager.
std::optional<std::string> SqliteDataSource(const std::string& connectionString);

// The database file a connection string opens, where it names one: the
// embedded backend's Data Source, or the Database of a connection through
// the SQLite ODBC driver (a Driver whose name holds "sqlite"), read as that
// driver reads it: the first "Database=" pair, the value up to the next ';'
// as it stands. Nothing for other drivers, whose databases are not files
// here, and for data source names.
std::optional<std::filesystem::path> DatabaseFileOf(const std::string& connectionString);

}  // namespace velmora
