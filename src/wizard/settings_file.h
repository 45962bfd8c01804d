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

// The character set of a settings file. The host writes it in its ANSI code
// page, Latin-1 for German, where this program writes UTF-8: a file that is
// not valid UTF-8 is read as Latin-1. Its values are UTF-8 in the program
// either way, and it is written back in its own character set, so that a
// path keeps its bytes.
enum class SettingsEncoding { Utf8, Latin1 };

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

  SettingsEncoding Encoding() const { return encoding_; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
  SettingsEncoding encoding_ = SettingsEncoding::Utf8;
};

struct SettingsLine {
  std::string key;
  std::string value;
};

// "key=value" with CR LF after every line, the last one included, in the
// character set given. A text that Latin-1 cannot hold (a character beyond
// U+00FF), or whose Latin-1 bytes would read as UTF-8, stays UTF-8, which the
// next reading recognises.
std::string ComposeSettings(const std::vector<SettingsLine>& lines,
                            SettingsEncoding encoding = SettingsEncoding::Utf8);

// Replaces the file at `path` with the lines, composed in `encoding`. The text goes to a temporary
// file in the same folder first, which is then renamed over the old file, so a crash or a full disk
// leaves either the old file or the new one, never a part. A failure raises an Exception naming the
// file and the reason.
void WriteSettingsFile(const std::string& path, const std::vector<SettingsLine>& lines,
                       SettingsEncoding encoding = SettingsEncoding::Utf8);

}  // namespace velmora
