#include "wizard/settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "platform/errors.h"
#include "wizard/text_compare.h"

namespace velmora {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return {};
}

// Owns the descriptor of a new temporary file and removes the file again
// unless a successful rename has handed it over.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pattern)
      : path_(std::move(pattern)), fd_(mkstemp(path_.data())), created_(fd_ >= 0) {}
  ~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (created_ && !renamed_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  const std::string& Path() const { return path_; }
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }
  void MarkRenamed() { renamed_ = true; }

 private:
  std::string path_;
  int fd_;
  bool created_;
  bool renamed_ = false;
};

[[noreturn]] void FailWriting(const std::string& path, int error) {
  throw Exception("The settings file '" + path + "' could not be written: " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// mkstemp makes the file private; give it the mode a newly created file gets.
void ApplyCreationMode(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string SettingsFolderPath() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
    return data;
  }
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.local/share";
}

std::string VelmoraFolderPath() { return SettingsFolderPath() + "/Velmora"; }

std::string SettingsFilePath() { return VelmoraFolderPath() + "/settings.ini"; }

void CreateSettingsFolder() {
  std::error_code ignored;
  std::filesystem::create_directories(VelmoraFolderPath(), ignored);
}

SettingsFile SettingsFile::Parse(std::string_view text) {
  SettingsFile file;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (const size_t equals = line.find('='); equals != std::string_view::npos) {
      file.entries_.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    if (end == std::string_view::npos) break;
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
  return file;
}

std::optional<SettingsFile> SettingsFile::Load(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  const auto fail = [&path](const std::string& reason) {
    return Exception("The settings file '" + path + "' could not be read: " + reason);
  };
  if (status.type() == std::filesystem::file_type::directory) throw fail("it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fail(std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw fail(std::strerror(errno));
  return Parse(text.str());
}

std::optional<std::string> SettingsFile::Value(std::string_view key) const {
  for (const auto& [name, value] : entries_) {
    if (EqualsIgnoringCase(name, key)) return value;
  }
  return std::nullopt;
}

std::string ComposeSettings(const std::vector<SettingsLine>& lines) {
  std::string text;
  for (const SettingsLine& line : lines) text += line.key + "=" + line.value + "\r\n";
  return text;
}

void WriteSettingsFile(const std::string& path, const std::vector<SettingsLine>& lines) {
  TemporaryFile temporary(path + ".XXXXXX");
  if (!temporary.IsOpen()) FailWriting(path, errno);
  ApplyCreationMode(temporary.Descriptor());
  if (!WriteAll(temporary.Descriptor(), ComposeSettings(lines)) ||
      fsync(temporary.Descriptor()) != 0 || !temporary.Close()) {
    FailWriting(path, errno);
  }
  if (rename(temporary.Path().c_str(), path.c_str()) != 0) FailWriting(path, errno);
  temporary.MarkRenamed();
  SyncFolderOf(path);
}

}  // namespace velmora
