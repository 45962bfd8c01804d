#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The module's file version. Windows keeps it in the version resource of a
// module; here the module carries the same fixed part in a data section of its
// own, which FileVersionText finds by reading the file's section table, so the
// version of a module can be read without loading it.

namespace velmora {

// The fixed part of a version resource, laid out as Windows lays it out
// (52 bytes, little-endian).
struct FixedFileInfo {
  std::uint32_t signature;
  std::uint32_t structureVersion;
  std::uint32_t fileVersionMs;  // major << 16 | minor
  std::uint32_t fileVersionLs;  // release << 16 | build
  std::uint32_t productVersionMs;
  std::uint32_t productVersionLs;
  std::uint32_t fileFlagsMask;
  std::uint32_t fileFlags;
  std::uint32_t fileOs;
  std::uint32_t fileType;
  std::uint32_t fileSubtype;
  std::uint32_t fileDateMs;
  std::uint32_t fileDateLs;
};
static_assert(sizeof(FixedFileInfo) == 52);

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The section of a module that holds its FixedFileInfo (a macro, as the
// section attribute takes a literal).
#define VELMORA_VERSION_SECTION ".velmora_version"

// The file version of the module at `path` as "major.minor.release.build", or
// "x.x.x.x" when the path is empty, the file cannot be read, is no module of
// this machine's kind, or carries no version (its version section is missing,
// shorter than the fixed part or without its signature).
std::string FileVersionText(const std::filesystem::path& path);

}  // namespace velmora
