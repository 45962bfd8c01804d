// Connection strings as a user types them or the host's registry holds them:
// read for the backend and the database file without a crash. And any path
// goes into the embedded backend's connection string and comes back as it is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/db/connection_string.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    SqliteDataSource(text);
    DatabaseFileOf(text);
  } catch (const DatabaseError&) {
  }
  // A path holds no NUL, and an empty one names no file.
  if (text.empty() || text.find('\0') != std::string::npos) return 0;
  const std::string connectionString = SqliteConnectionString(text);
  if (SqliteDataSource(connectionString) != text) std::abort();
  if (DatabaseFileOf(connectionString) != std::optional(std::filesystem::path(text))) std::abort();
  return 0;
}
