#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

// The database path when the connection string selects the embedded SQLite
// backend ("Provider=SQLite;Data Source=PATH", keys in any case and order);
// nothing for any other text, which belongs to the ODBC driver manager.
// Values follow the rules of the host's connection strings: blanks around a
// value are no part of it, unless it stands in double or single quotes, which
// take it as it is between them (a doubled quote stands for one). Throws
// DatabaseError when the string selects the backend but names no file, or
// leaves a quote open.
std::optional<std::string> SqliteDataSource(const std::string& connectionString);

// The connection string of the SQLite database file `path`, which
// SqliteDataSource reads back byte for byte: the path is quoted when it
// begins or ends with a blank, holds a ';' or begins with a quote.
std::string SqliteConnectionString(const std::filesystem::path& path);

// The database file a connection string opens, where it names one: the
// embedded backend's Data Source, or the Database of a connection through
// the SQLite ODBC driver (a Driver whose name holds "sqlite"), read as that
// driver reads it: the first "Database=" pair, the value up to the next ';'
// as it stands. Nothing for other drivers, whose databases are not files
// here, and for data source names.
std::optional<std::filesystem::path> DatabaseFileOf(const std::string& connectionString);

}  // namespace velmora
