// Installs the build tree into a temporary prefix and runs the installed
// programs from there, with no library path in the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::RunCommand;

class Installation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::unsetenv("LD_LIBRARY_PATH");
    prefix_ = std::make_unique<testing::TempFolder>();
    const CommandResult install =
        RunCommand(VELMORA_CMAKE,
                   {"--install", VELMORA_BUILD_DIR, "--prefix", prefix_->PathOf("velmora prefix")});
    ASSERT_EQ(install.exitStatus, 0) << install.out << install.err;
  }
  static void TearDownTestSuite() { prefix_.reset(); }

  // A prefix with a blank in its path, which nothing may cut.
  static fs::path Installed(const std::string& file) {
    return prefix_->Path() / "velmora prefix" / file;
  }

  static std::unique_ptr<testing::TempFolder> prefix_;
};

std::unique_ptr<testing::TempFolder> Installation::prefix_;

TEST_F(Installation, PutsTheProgramsTheModuleAndTheLibrariesInPlace) {
  for (const char* file :
       {"bin/velmora-host", "bin/velmora-count", "bin/velmora-map", "bin/velmora-demo-db",
        "bin/velmora-wizard", VELMORA_LIBRARY_DIR "/Velmora.so",
        VELMORA_LIBRARY_DIR "/libGeoDLL32.so", VELMORA_LIBRARY_DIR "/libvelmora_com.so",
        "share/applications/velmora-host.desktop"}) {
    EXPECT_TRUE(fs::is_regular_file(Installed(file))) << file;
  }
}

TEST_F(Installation, ACountingProgramFindsTheGeodeticLibraryBesideIt) {
  const CommandResult convert =
      RunCommand(Installed("bin/velmora-count").string(), {"convert", "49.4", "7.0"});
  EXPECT_EQ(convert.exitStatus, 0) << convert.err;
  EXPECT_EQ(convert.out, "6508/331\n");
  EXPECT_EQ(convert.err, "") << "the library was found, no fallback spoke";
}

TEST_F(Installation, TheHostInstallsAndLoadsTheInstalledModule) {
  const fs::path module = Installed(VELMORA_LIBRARY_DIR "/Velmora.so");
  const CommandResult host = RunCommand(Installed("bin/velmora-host").string(),
                                        {"--install-addin", module.string(), "--list-addins"});
  EXPECT_EQ(host.exitStatus, 0) << host.err;
  EXPECT_EQ(host.out, "Velmora Addin\n  Velmora\n  Version " VELMORA_PROJECT_VERSION "\n")
      << "the description reads the version of the module in the host's add-in folder";
  EXPECT_EQ(host.err, "") << "the module found the geodetic library beside it";
}

TEST_F(Installation, TheDesktopEntryStartsTheInstalledHostWithItsModule) {
  const std::string entry =
      testing::ReadFileBytes(Installed("share/applications/velmora-host.desktop"));
  EXPECT_NE(
      entry.find("Exec=\"" + Installed("bin/velmora-host").string() + "\" --install-addin \"" +
                 Installed(VELMORA_LIBRARY_DIR "/Velmora.so").string() + "\"\n"),
      std::string::npos)
      << entry;
  if (!fs::exists("/usr/bin/desktop-file-validate")) GTEST_SKIP() << "no desktop-file-validate";
  const CommandResult validate =
      RunCommand("/usr/bin/desktop-file-validate",
                 {Installed("share/applications/velmora-host.desktop").string()});
  EXPECT_EQ(validate.exitStatus, 0) << validate.out << validate.err;
  EXPECT_EQ(validate.out + validate.err, "");
}

}  // namespace
}  // namespace velmora
