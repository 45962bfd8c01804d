#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/types.h"
#include "platform/errors.h"

// The registry of this platform: one text file per user in the format of the
// Windows Registry Editor, standing in for HKEY_CLASSES_ROOT and
// HKEY_LOCAL_MACHINE. It is read whole and written whole, through a temporary
// file that then replaces it, so that a reader never sees half a file.

namespace velmora::com {

inline constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT";
inline constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

class VELMORA_COM_API RegistryError : public Exception {
 public:
  explicit RegistryError(const std::string& message) : Exception(message) {}
};

// Keys are full paths from the root ("HKEY_CLASSES_ROOT\CLSID\{...}"); key and
// value names compare without regard to case, as on Windows. The empty value
// name is the key's default value, written "@". Values other than text (dword:,
// hex:) are kept as written and are not readable as text.
class VELMORA_COM_API Registry {
 public:
  // Throws RegistryError naming the line of the first fault.
  static Registry Parse(std::string_view text);
  std::string Format() const;

  // A missing file is an empty registry; what is not a regular file (a FIFO,
  // a device) is refused, as reading it might never end.
  static Registry Load(const std::filesystem::path& file);
  void Save(const std::filesystem::path& file) const;

  bool HasKey(std::string_view key) const;
  // The names of the keys directly below `key`, sorted without regard to case.
  std::vector<std::string> SubKeys(std::string_view key) const;
  std::optional<std::string> Value(std::string_view key, std::string_view name = {}) const;
  void CreateKey(std::string_view key);
  void SetValue(std::string_view key, std::string_view name, std::string_view value);
  // Removes the key with its values and all keys below it.
  void DeleteKey(std::string_view key);

  bool operator==(const Registry&) const = default;

 private:
  struct IgnoringCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Data {
    bool isText = true;
    std::string text;  // the text itself, or the value as written when it is not text
    bool operator==(const Data&) const = default;
  };
  using Values = std::map<std::string, Data, IgnoringCase>;

  std::map<std::string, Values, IgnoringCase> keys_;
};

// The per-user registry file: registry.reg in the velmora folder of
// $XDG_CONFIG_HOME (or ~/.config).
VELMORA_COM_API std::filesystem::path RegistryFilePath();

// How long a program waits for its turn to change the registry file. A change
// takes milliseconds; a lock held longer belongs to a program that hangs.
inline constexpr std::chrono::seconds kRegistryLockWait{10};

// Reads the per-user registry file, applies `change` and writes the file back,
// in turn with other programs. Throws RegistryError when another program
// holds the turn for longer than `lockWait`.
VELMORA_COM_API void UpdateRegistry(const std::function<void(Registry&)>& change,
                                    std::chrono::seconds lockWait = kRegistryLockWait);

}  // namespace velmora::com
