#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// A fresh folder of its own under the system's temporary folder, removed with
// its content when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // A file in the folder, as a text for command lines and file dialogs.
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace velmora::testing
