#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// The two ways a test reaches an SQLite database file: the embedded backend,
// and DSN-less through the SQLite ODBC driver (nothing registered globally).
enum class Backend { Sqlite, Odbc };

// Creates an empty database file at `path` when there is none, and returns the
// connection string that opens it through `backend`.
std::string TestConnectionString(Backend backend, const std::filesystem::path& path);

}  // namespace velmora::testing
