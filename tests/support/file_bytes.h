#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// The whole content of a file, byte for byte; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);

// Makes the file hold exactly `bytes`.
void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes);

}  // namespace velmora::testing
