#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// The module's file name in the host's add-in folder: the Windows name's base
// with the extension of a loadable module here.
inline constexpr const char* kModuleFileName = "Velmora.so";

// The host's add-in folder: the text value "Addin Path" of the host's settings
// key, read from the registry without changing it; empty when the key or the
// value is missing.
std::string ReadAddinPath();

// Where the host keeps this module: the add-in folder with the module's file
// name; empty when the folder is unknown.
std::filesystem::path AddinModulePath(const std::string& addinPath);

}  // namespace velmora
