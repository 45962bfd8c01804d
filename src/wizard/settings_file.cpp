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

// Well-formed UTF-8: no stray continuation byte, no sequence cut short, no
// overlong form, no surrogate, nothing beyond U+10FFFF. Calls `character`
// with each code point; false at the first fault.
template <typename Character>
bool DecodeUtf8(std::string_view text, Character character) {
  const auto sequenceLength = [](unsigned char lead) -> size_t {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
  };
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = sequenceLength(lead);
    if (length == 0 || i + length > text.size()) return false;
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next >> 6 != 0x2) return false;
      point = point << 6 | (next & 0x3F);
    }
    if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return false;
    }
    character(point);
    i += length;
  }
  return true;
}

// Each Latin-1 byte is the code point of the same number.
std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (const char byte : text) {
    const auto point = static_cast<unsigned char>(byte);
    if (point < 0x80) {
      utf8 += byte;
    } else {
      utf8 += static_cast<char>(0xC0 | point >> 6);
      utf8 += static_cast<char>(0x80 | (point & 0x3F));
    }
  }
  return utf8;
}

// Nothing when the text is no UTF-8 or holds a character beyond U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
  std::string latin1;
  bool fits = true;
  const bool decoded = DecodeUtf8(utf8, [&](char32_t point) {
    fits = fits && point <= 0xFF;
    latin1 += static_cast<char>(point);
  });
  if (!decoded || !fits) return std::nullopt;
  return latin1;
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
  std::string utf8;
  if (!DecodeUtf8(text, [](char32_t) {})) {
    file.encoding_ = SettingsEncoding::Latin1;
    utf8 = Latin1ToUtf8(text);
    text = utf8;
  }
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

std::string ComposeSettings(const std::vector<SettingsLine>& lines, SettingsEncoding encoding) {
  std::string text;
  for (const SettingsLine& line : lines) text += line.key + "=" + line.value + "\r\n";
  if (encoding == SettingsEncoding::Latin1) {
    std::optional<std::string> latin1 = Utf8ToLatin1(text);
    // Latin-1 bytes that happen to be UTF-8 ("Ã©") would be read back as
    // other characters ("é"); and ASCII is the same in both.
    if (latin1 && !DecodeUtf8(*latin1, [](char32_t) {})) return std::move(*latin1);
  }
  return text;
}

void WriteSettingsFile(const std::string& path, const std::vector<SettingsLine>& lines,
                       SettingsEncoding encoding) {
  try {
    ReplaceFile(path, ComposeSettings(lines, encoding));
  } catch (const FileWriteError& e) {
    throw Exception("The settings file '" + path + "' could not be written: " + e.Reason());
  }
}

}  // namespace velmora
