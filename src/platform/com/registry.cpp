#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <thread>
#include <utility>

#include "platform/file_descriptor.h"
#include "platform/read_file.h"
#include "platform/replace_file.h"

namespace velmora::com {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

void CheckKeyName(std::string_view key) {
  if (key.empty() || key.front() == '\\' || key.back() == '\\' || key.front() == '-' ||
      key.find("\\\\") != key.npos || HasLineBreak(key)) {
    throw RegistryError("Invalid registry key name: " + std::string(key));
  }
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// Reads a quoted text starting at `pos` (on the opening quote) and moves past
// the closing quote.
std::optional<std::string> Unquoted(std::string_view line, std::size_t& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos == line.size()) return std::nullopt;
      c = line[pos];
    }
    out += c;
  }
  return std::nullopt;
}

class LineError {
 public:
  explicit LineError(std::size_t line) : line_(line) {}
  [[noreturn]] void operator()(const std::string& what) const {
    throw RegistryError("Registry file line " + std::to_string(line_) + ": " + what);
  }

 private:
  std::size_t line_;
};

// Regedit ends its lines with CR LF; stray ones before that are no data either,
// or a value would change when written and read again.
void DropCarriageReturns(std::string& line) {
  while (!line.empty() && line.back() == '\r') line.pop_back();
}

// A carriage return counts as a blank too: one that a blank hides from the
// line end is no part of the value either.
std::string Trimmed(std::string_view text) {
  const auto begin = text.find_first_not_of(" \t\r");
  if (begin == text.npos) return {};
  const auto end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}

}  // namespace

bool Registry::IgnoringCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

Registry Registry::Parse(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  Registry registry;
  bool headerSeen = false;
  const std::string* key = nullptr;
  std::size_t lineNumber = 0;
  std::istringstream lines{std::string(text)};
  for (std::string raw; std::getline(lines, raw);) {
    ++lineNumber;
    const LineError fail(lineNumber);
    DropCarriageReturns(raw);
    const std::string line = Trimmed(raw);
    if (line.empty() || line.front() == ';') continue;
    if (!headerSeen) {
      if (line != kHeader) fail("expected \"" + std::string(kHeader) + "\"");
      headerSeen = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') fail("a key needs a closing ]");
      const std::string name = line.substr(1, line.size() - 2);
      if (name.starts_with('-')) fail("deleting keys is not supported in a stored registry");
      try {
        CheckKeyName(name);
      } catch (const RegistryError& e) {
        fail(e.what());
      }
      key = &registry.keys_.try_emplace(name).first->first;
      continue;
    }
    if (key == nullptr) fail("a value needs a key above it");
    std::size_t pos = 0;
    std::string name;
    if (line.front() == '@') {
      pos = 1;
    } else if (std::optional<std::string> quoted = Unquoted(line, pos)) {
      name = std::move(*quoted);
    } else {
      fail("a value name must be @ or a quoted text");
    }
    if (pos >= line.size() || line[pos] != '=') fail("expected = after the value name");
    ++pos;
    Data data;
    if (pos < line.size() && line[pos] == '"') {
      std::optional<std::string> value = Unquoted(line, pos);
      if (!value || pos != line.size()) fail("a text value must be one quoted text");
      data.text = std::move(*value);
    } else {
      data.isText = false;
      data.text = line.substr(pos);
      // Binary values run on over lines that end in a backslash.
      while (data.text.ends_with('\\')) {
        if (!std::getline(lines, raw)) fail("a value continues past the end of the file");
        ++lineNumber;
        DropCarriageReturns(raw);
        data.text += '\n' + raw;
      }
      if (data.text.empty()) fail("a value needs data after =");
    }
    registry.keys_[*key].insert_or_assign(std::move(name), std::move(data));
  }
  return registry;
}

std::string Registry::Format() const {
  std::string out(kHeader);
  out += "\n\n";
  for (const auto& [key, values] : keys_) {
    out += '[' + key + "]\n";
    for (const auto& [name, data] : values) {
      out += name.empty() ? std::string("@") : Quoted(name);
      out += '=';
      out += data.isText ? Quoted(data.text) : data.text;
      out += '\n';
    }
    out += '\n';
  }
  return out;
}

Registry Registry::Load(const std::filesystem::path& file) {
  std::string text;
  try {
    text = ReadRegularFile(file);
  } catch (const FileReadError& e) {
    if (e.Missing()) return {};
    throw RegistryError("Cannot read the registry file " + file.string() + ": " + e.Reason());
  }
  return Parse(text);
}

void Registry::Save(const std::filesystem::path& file) const {
  std::error_code ignored;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  try {
    // Private: the file holds the host's connection string.
    ReplaceFile(file, Format(), FileAccess::Private);
  } catch (const FileWriteError& e) {
    throw RegistryError("Cannot write the registry file " + file.string() + ": " + e.Reason());
  }
}

bool Registry::HasKey(std::string_view key) const { return keys_.contains(key); }

std::vector<std::string> Registry::SubKeys(std::string_view key) const {
  // A key may stand in the file without the keys above it, so a subkey is
  // the next part of the name of any key below `key`.
  std::set<std::string, IgnoringCase> names;
  for (const auto& [name, values] : keys_) {
    if (name.size() <= key.size() + 1 || name[key.size()] != '\\' ||
        !SameIgnoringCase(std::string_view(name).substr(0, key.size()), key)) {
      continue;
    }
    const std::string_view below = std::string_view(name).substr(key.size() + 1);
    const std::string_view child = below.substr(0, below.find('\\'));
    names.emplace(child);
  }
  return {names.begin(), names.end()};
}

std::optional<std::string> Registry::Value(std::string_view key, std::string_view name) const {
  const auto k = keys_.find(key);
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.find(name);
  if (v == k->second.end() || !v->second.isText) return std::nullopt;
  return v->second.text;
}

void Registry::CreateKey(std::string_view key) {
  CheckKeyName(key);
  keys_.try_emplace(std::string(key));
}

void Registry::SetValue(std::string_view key, std::string_view name, std::string_view value) {
  CheckKeyName(key);
  if (HasLineBreak(name) || HasLineBreak(value)) {
    throw RegistryError("A registry text cannot hold a line break");
  }
  keys_[std::string(key)].insert_or_assign(std::string(name), Data{true, std::string(value)});
}

void Registry::DeleteKey(std::string_view key) {
  std::erase_if(keys_, [key](const auto& entry) {
    const std::string_view name = entry.first;
    const bool below = name.size() > key.size() && name[key.size()] == '\\';
    return (name.size() == key.size() || below) &&
           SameIgnoringCase(name.substr(0, key.size()), key);
  });
}

std::filesystem::path RegistryFilePath() {
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    config = std::filesystem::path(home) / ".config";
  } else {
    config = ".config";
  }
  return config / "velmora" / "registry.reg";
}

void UpdateRegistry(const std::function<void(Registry&)>& change, std::chrono::seconds lockWait) {
  const std::filesystem::path file = RegistryFilePath();
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  // Two programs registering at once must not lose each other's entries: the
  // whole read-change-write runs under a lock beside the file. Readers need no
  // lock, as the file is replaced in one step.
  std::filesystem::path lockFile = file;
  lockFile += ".lock";
  const auto cannotLock = [&file](const std::string& reason) {
    return RegistryError("Cannot lock the registry file " + file.string() + ": " + reason);
  };
  FileDescriptor lock(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.Get() < 0) throw cannotLock(std::strerror(errno));
  const auto deadline = std::chrono::steady_clock::now() + lockWait;
  while (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) throw cannotLock(std::strerror(errno));
    if (std::chrono::steady_clock::now() >= deadline) {
      throw cannotLock("another program has held its lock file " + lockFile.string() + " for " +
                       std::to_string(lockWait.count()) + " seconds; end that program");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Registry registry = Registry::Load(file);
  change(registry);
  registry.Save(file);
}

}  // namespace velmora::com
