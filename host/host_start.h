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
// the database is missing; whether it wrote them.
bool WriteDemoDatabaseIfMissing(const std::filesystem::path& database);

}  // namespace velmora::host
