#pragma once

#include <filesystem>
#include <string>

// What the host does to its registry and files at start.

namespace velmora::host {

// The host's add-in folder: lib/velmora beside the folder of the host's
// program, in the build tree as in an installation.
std::filesystem::path AddinFolder();

// Enters the add-in folder as the host's "Addin Path".
void WriteAddinPath(const std::filesystem::path& folder);

// Makes `connectionString` the host's database from now on.
void WriteHostConnectionString(const std::string& connectionString);

// Writes the demo database and its background map (demo.bmp beside it) when
// the database is missing; whether it wrote them. When the wizard has no
// settings yet, it also writes them for the demo (its extent, its background,
// Quadranten), so that the wizard's first opening shows the demo's map, ready
// to count; settings a user has are kept.
bool WriteDemoDatabaseIfMissing(const std::filesystem::path& database);

}  // namespace velmora::host
