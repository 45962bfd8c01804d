#pragma once

#include <optional>
#include <string>

namespace velmora {

// The database path when the connection string selects the embedded SQLite
// backend ("Provider=SQLite;Data Source=PATH", keys in any case and order);
// nothing for any other text, which belongs to the ODBC driver manager.
std::optional<std::string> SqliteDataSource(const std::string& connectionString);

}  // namespace velmora
