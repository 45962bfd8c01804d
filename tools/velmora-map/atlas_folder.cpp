#include "velmora-map/atlas_folder.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <system_error>

#include "cli/command_errors.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarkerName = ".velmora-atlas";
constexpr const char* kMarkerHeading = "velmora atlas";

// Whether a line of a marker names a file an atlas writes: "atlas.csv" or a
// name of a subfolder's, of safe characters only. Anything else - a path
// that leaves the folder, a hidden name - a run never wrote and never removes.
bool IsAtlasFileName(const std::string& name) {
  const size_t slash = name.find('/');
  const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  if (slash != std::string::npos && name.find('/', slash + 1) != std::string::npos) return false;
  if (file.empty() || file.front() == '.' || name.front() == '.' || name.front() == '/') {
    return false;
  }
  return std::ranges::all_of(name, [](unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '/';
  });
}

// The files an earlier atlas in the folder listed; nothing when its marker
// is missing or not one.
std::optional<std::set<std::string>> EarlierFiles(const fs::path& folder) {
  std::ifstream marker(folder / kMarkerName);
  std::string line;
  if (!marker || !std::getline(marker, line) || line != kMarkerHeading) return std::nullopt;
  std::set<std::string> files;
  while (std::getline(marker, line)) {
    if (IsAtlasFileName(line)) files.insert(line);
  }
  return files;
}

void MakeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error)
    throw Exception("cannot make the folder '" + folder.string() + "': " + error.message());
}

}  // namespace

AtlasFolder::AtlasFolder(fs::path folder, bool force) : folder_(std::move(folder)) {
  std::error_code error;
  const fs::file_status status = fs::status(folder_, error);
  if (!fs::exists(status)) return;
  if (!fs::is_directory(status)) {
    throw UsageError("--out '" + folder_.string() + "' is there but is no folder");
  }
  if (std::optional<std::set<std::string>> files = EarlierFiles(folder_)) {
    earlier_ = std::move(*files);
    return;
  }
  if (!force && fs::directory_iterator(folder_, error) != fs::directory_iterator()) {
    throw UsageError("--out '" + folder_.string() +
                     "' holds files but no atlas; give an empty or new folder, or --force to "
                     "write the atlas into it all the same");
  }
}

void AtlasFolder::RefuseFilesNamingInputs(const std::set<std::string>& files,
                                          std::span<const NamedInput> inputs) const {
  std::set<std::string> all = earlier_;
  all.insert(files.begin(), files.end());
  all.insert(kMarkerName);
  for (const std::string& file : all) {
    for (const NamedInput& input : inputs) {
      if (!NameTheSameFile(folder_ / file, input.path)) continue;
      throw UsageError("--out '" + folder_.string() + "' would write '" +
                       (folder_ / file).string() + "', which is the " + std::string(input.option) +
                       " file; choose another --out");
    }
  }
}

void AtlasFolder::Begin(const std::set<std::string>& files,
                        std::initializer_list<const char*> subfolders) {
  MakeFolder(folder_);
  for (const char* subfolder : subfolders) MakeFolder(folder_ / subfolder);
  std::set<std::string> both = earlier_;
  both.insert(files.begin(), files.end());
  WriteList(both);
}

void AtlasFolder::Finish(const std::set<std::string>& files) {
  WriteList(files);
  for (const std::string& file : earlier_) {
    if (files.contains(file)) continue;
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(folder_ / file, ignored))) {
      fs::remove(folder_ / file, ignored);
    }
  }
}

void AtlasFolder::WriteList(const std::set<std::string>& files) const {
  std::string list = std::string(kMarkerHeading) + "\n";
  for (const std::string& file : files) list += file + "\n";
  ReplaceFile(folder_ / kMarkerName, list);
}

}  // namespace velmora::cli
