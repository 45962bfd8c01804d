#include "addin/VersionInfo.h"

#include <elf.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>

namespace velmora {
namespace {

constexpr const char* kNoVersion = "x.x.x.x";

// Reads parts of a file by offset, refusing anything beyond its end: the
// file may be anything a registry value points at.
class FileReader {
 public:
  explicit FileReader(const std::filesystem::path& path) : in_(path, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      size_ = static_cast<std::uint64_t>(in_.tellg());
    }
  }

  bool Read(std::uint64_t offset, void* to, std::uint64_t length) {
    if (!in_ || offset > size_ || length > size_ - offset) return false;
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(to), static_cast<std::streamsize>(length));
    return static_cast<std::uint64_t>(in_.gcount()) == length;
  }

  template <class Record>
  std::optional<Record> Read(std::uint64_t offset) {
    Record record;
    if (!Read(offset, &record, sizeof record)) return std::nullopt;
    return record;
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

// The ELF types of one file class: 32 or 64 bits.
struct Elf32 {
  using Header = Elf32_Ehdr;
  using Section = Elf32_Shdr;
};
struct Elf64 {
  using Header = Elf64_Ehdr;
  using Section = Elf64_Shdr;
};

template <class Elf>
std::optional<FixedFileInfo> FindVersion(FileReader& file) {
  const auto header = file.Read<typename Elf::Header>(0);
  if (!header || header->e_shentsize != sizeof(typename Elf::Section)) return std::nullopt;
  const auto sectionAt = [&](std::uint64_t index) {
    return file.Read<typename Elf::Section>(header->e_shoff +
                                            index * sizeof(typename Elf::Section));
  };
  // Files with very many sections keep their count and the index of the
  // section names in the first section header.
  std::uint64_t count = header->e_shnum;
  std::uint64_t namesIndex = header->e_shstrndx;
  if (count == 0 || namesIndex == SHN_XINDEX) {
    const auto first = sectionAt(0);
    if (!first) return std::nullopt;
    if (count == 0) count = first->sh_size;
    if (namesIndex == SHN_XINDEX) namesIndex = first->sh_link;
  }
  if (namesIndex >= count) return std::nullopt;
  const auto names = sectionAt(namesIndex);
  if (!names) return std::nullopt;

  constexpr std::string_view wanted = VELMORA_VERSION_SECTION;
  for (std::uint64_t i = 0; i < count; ++i) {
    const auto section = sectionAt(i);
    if (!section) return std::nullopt;
    // The name plus its terminating null must lie inside the names section.
    char name[wanted.size() + 1];
    if (section->sh_name > names->sh_size || names->sh_size - section->sh_name < sizeof name ||
        !file.Read(names->sh_offset + section->sh_name, name, sizeof name) ||
        std::string_view(name, sizeof name) != std::string_view(wanted.data(), sizeof name)) {
      continue;
    }
    if (section->sh_type == SHT_NOBITS || section->sh_size < sizeof(FixedFileInfo)) {
      return std::nullopt;
    }
    return file.Read<FixedFileInfo>(section->sh_offset);
  }
  return std::nullopt;
}

// Only modules of the machine's own byte order: the fixed part is read as
// the machine lays numbers out.
constexpr unsigned char kOwnByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

std::optional<FixedFileInfo> ReadFixedFileInfo(const std::filesystem::path& path) {
  FileReader file(path);
  unsigned char ident[EI_NIDENT];
  if (!file.Read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      ident[EI_DATA] != kOwnByteOrder) {
    return std::nullopt;
  }
  switch (ident[EI_CLASS]) {
    case ELFCLASS32:
      return FindVersion<Elf32>(file);
    case ELFCLASS64:
      return FindVersion<Elf64>(file);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string FileVersionText(const std::filesystem::path& path) {
  if (path.empty()) return kNoVersion;
  const std::optional<FixedFileInfo> info = ReadFixedFileInfo(path);
  if (!info || info->signature != kFixedFileInfoSignature) return kNoVersion;
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", info->fileVersionMs >> 16,
                info->fileVersionMs & 0xFFFF, info->fileVersionLs >> 16,
                info->fileVersionLs & 0xFFFF);
  return text;
}

}  // namespace velmora
