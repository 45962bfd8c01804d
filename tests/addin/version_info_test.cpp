#include "addin/VersionInfo.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The header of the version section in a module's bytes.
Elf64_Shdr* VersionSection(std::string& module) {
  auto* header = reinterpret_cast<Elf64_Ehdr*>(module.data());
  auto* sections = reinterpret_cast<Elf64_Shdr*>(module.data() + header->e_shoff);
  const char* names = module.data() + sections[header->e_shstrndx].sh_offset;
  for (int i = 0; i < header->e_shnum; ++i) {
    if (std::strcmp(names + sections[i].sh_name, VELMORA_VERSION_SECTION) == 0) {
      return &sections[i];
    }
  }
  return nullptr;
}

class FileVersion : public ::testing::Test {
 protected:
  // A copy of the fixture module, changed by `change`.
  fs::path ChangedModule(const std::function<void(std::string&)>& change) {
    std::string module = testing::ReadFileBytes(VELMORA_VERSION_FIXTURE_FOLDER "/Velmora.so");
    change(module);
    const fs::path path = folder_.Path() / "changed.so";
    testing::WriteFileBytes(path, module);
    return path;
  }

  const testing::TempFolder folder_;
};

TEST_F(FileVersion, ReadsTheFourNumbersOfTheModulesVersionSection) {
  EXPECT_EQ(FileVersionText(VELMORA_VERSION_FIXTURE_FOLDER "/Velmora.so"), "2.1.0.7");
  EXPECT_EQ(FileVersionText(VELMORA_MODULE), VELMORA_PROJECT_VERSION);
}

TEST_F(FileVersion, IsUnknownWithoutAModuleThatCarriesAVersion) {
  EXPECT_EQ(FileVersionText(""), "x.x.x.x");
  EXPECT_EQ(FileVersionText(folder_.Path() / "missing.so"), "x.x.x.x");
  EXPECT_EQ(FileVersionText(folder_.Path()), "x.x.x.x") << "a folder";
  testing::WriteFileBytes(folder_.Path() / "text.so", "not a module");
  EXPECT_EQ(FileVersionText(folder_.Path() / "text.so"), "x.x.x.x");
  EXPECT_EQ(FileVersionText(VELMORA_GEODLL), "x.x.x.x") << "a module without the section";
}

TEST_F(FileVersion, IsUnknownForABrokenOrShortVersionSection) {
  const fs::path truncated = ChangedModule([](std::string& module) { module.resize(4096); });
  EXPECT_EQ(FileVersionText(truncated), "x.x.x.x") << "the section table is cut off";

  const fs::path shorter = ChangedModule(
      [](std::string& module) { VersionSection(module)->sh_size = sizeof(FixedFileInfo) - 1; });
  EXPECT_EQ(FileVersionText(shorter), "x.x.x.x") << "shorter than the fixed part";

  const fs::path unsigned_ =
      ChangedModule([](std::string& module) { module[VersionSection(module)->sh_offset] ^= 1; });
  EXPECT_EQ(FileVersionText(unsigned_), "x.x.x.x") << "without the signature";

  const fs::path farAway = ChangedModule(
      [](std::string& module) { VersionSection(module)->sh_offset = module.size() - 8; });
  EXPECT_EQ(FileVersionText(farAway), "x.x.x.x") << "the section runs past the end";

  const fs::path badNames = ChangedModule([](std::string& module) {
    reinterpret_cast<Elf64_Ehdr*>(module.data())->e_shstrndx = 0xFFF0;
  });
  EXPECT_EQ(FileVersionText(badNames), "x.x.x.x") << "no section names";
}

}  // namespace
}  // namespace velmora
