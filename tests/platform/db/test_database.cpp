#include "test_database.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

namespace velmora::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter = 0;
  path_ = std::filesystem::temp_directory_path() /
          ("velmora-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TestConnectionString(Backend backend, const std::filesystem::path& path) {
  if (!std::filesystem::exists(path)) std::ofstream{path};
  if (backend == Backend::Sqlite) return "Provider=SQLite;Data Source=" + path.string();
  return std::string("Driver=") + VELMORA_SQLITE_ODBC_DRIVER + ";Database=" + path.string();
}

}  // namespace velmora::testing
