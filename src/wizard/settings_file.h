#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/errors.h"

namespace velmora {

// The per-user data folder: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share of the user's home folder; the empty text when no home folder
// can be found.
std::string SettingsFolderPath();

// SettingsFolderPath() + "/Velmora": the folder of the settings file.
std::string VelmoraFolderPath();

// VelmoraFolderPath() + "/settings.ini".
std::string SettingsFilePath();

// Creates VelmoraFolderPath() with every missing parent. A folder that cannot be
// made is not reported here: reading then finds no file, and writing fails.
void CreateSettingsFolder();

// A settings file that is there but could not be read: no permission, a
// folder or anything else that is not a regular file. Its message names the
// file and the reason.
class UnreadableSettingsFile : public Exception {
 public:
  using Exception::Exception;
};

// The entries of a settings file as read: one "key=value" per line, any line
// break (CR, LF or CR LF) accepted, lines without "=" ignored.
class SettingsFile {
 public:
  static SettingsFile Parse(std::string_view text);

  // Nothing when there is no file at `path`; UnreadableSettingsFile when there
  // is one that cannot be read.
  static std::optional<SettingsFile> Load(const std::string& path);

  // The value of the first line whose key (the text before the first "=")
  // equals `key` without regard to letter case: the whole rest of the line,
  // later "=" included. Nothing when no line has the key.
  std::optional<std::string> Value(std::string_view key) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

struct SettingsLine {
  std::string key;
  std::string value;
};

// "key=value" with CR LF after every line, the last one included.
std::string ComposeSettings(const std::vector<SettingsLine>& lines);

// Replaces the file at `path` with the lines. The text goes to a temporary file
// in the same folder first, which is then renamed over the old file, so a crash
// or a full disk leaves either the old file or the new one, never a part. A
// failure raises an Exception naming the file and the reason.
void WriteSettingsFile(const std::string& path, const std::vector<SettingsLine>& lines);

}  // namespace velmora
