#pragma once

// Where the host keeps its own configuration in the registry, which its
// add-ins read as well.

namespace velmora {

inline constexpr const char* kHostSettingsKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6";

// The text value of kHostSettingsKey naming the host's add-in folder.
inline constexpr const char* kAddinPathValue = "Addin Path";

}  // namespace velmora
