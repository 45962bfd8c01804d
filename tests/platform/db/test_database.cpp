#include "test_database.h"

#include <fstream>

namespace velmora::testing {

std::string TestConnectionString(Backend backend, const std::filesystem::path& path) {
  if (!std::filesystem::exists(path)) std::ofstream{path};
  if (backend == Backend::Sqlite) return "Provider=SQLite;Data Source=" + path.string();
  return std::string("Driver=") + VELMORA_SQLITE_ODBC_DRIVER + ";Database=" + path.string();
}

}  // namespace velmora::testing
