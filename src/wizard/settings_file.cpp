#include "wizard/settings_file.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/errors.h"
#include "platform/read_file.h"
#include "platform/replace_file.h"
#include "platform/text_compare.h"

namespace velmora {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return {};
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
  try {
    return Parse(ReadRegularFile(path));
  } catch (const FileReadError& e) {
    if (e.Missing()) return std::nullopt;
    throw UnreadableSettingsFile("The settings file '" + path +
                                 "' could not be read: " + e.Reason());
  }
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
  try {
    ReplaceFile(path, ComposeSettings(lines));
  } catch (const FileWriteError& e) {
    throw Exception("The settings file '" + path + "' could not be written: " + e.Reason());
  }
}

}  // namespace velmora
