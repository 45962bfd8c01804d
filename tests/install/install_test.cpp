// Installs the build tree into a temporary prefix and runs the installed
// programs from there, with no library path in the environment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

// The installed programs again, beside a library folder that lacks the
// geodetic library: the commands that convert coordinates stop before any work
// with one message and exit status 1, rather than count without every sample
// that has coordinates.
TEST_F(Installation, WithoutTheGeodeticLibraryACountStopsWithOneMessage) {
  const testing::TempFolder folder;
  const fs::path bin = folder.Path() / "bin";
  const fs::path libraries = folder.Path() / VELMORA_LIBRARY_DIR;
  fs::create_directories(bin);
  fs::create_directories(libraries);
  for (const char* program : {"velmora-count", "velmora-map"}) {
    fs::copy_file(Installed("bin") / program, bin / program);
  }
  for (const fs::directory_entry& library :
       fs::directory_iterator(Installed(VELMORA_LIBRARY_DIR))) {
    if (library.path().filename() != "libGeoDLL32.so") {
      fs::copy_file(library.path(), libraries / library.path().filename());
    }
  }
  const std::string db = folder.PathOf("demo.db");
  const std::string bmp = folder.PathOf("demo.bmp");
  const CommandResult demo = RunCommand(Installed("bin/velmora-demo-db").string(),
                                        {"--out", db, "--samples", "50", "--bmp", bmp});
  ASSERT_EQ(demo.exitStatus, 0) << demo.err;

  const std::vector<std::string> extent = {"--nw",     "6508", "--se",   "6711",
                                           "--system", "QYX",  "--type", "1"};
  const auto with = [&extent](std::vector<std::string> args) {
    args.insert(args.end(), extent.begin(), extent.end());
    return args;
  };
  const struct {
    const char* program;
    std::vector<std::string> args;
  } cases[] = {
      {"velmora-count", with({"count", "--db", db})},
      {"velmora-count", with({"count", "--db", db, "--format", "csv"})},
      {"velmora-count", {"convert", "49.4", "7.0"}},
      {"velmora-map", with({"map", "--db", db, "--bmp", bmp, "--out", folder.PathOf("map.png")})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program) + " " + c.args[0]);
    const CommandResult r = RunCommand((bin / c.program).string(), c.args);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(std::string(c.program) + ": cannot load the geodetic library: ", 0), 0u)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(fs::exists(folder.PathOf("map.png")));

  const CommandResult frame =
      RunCommand((bin / "velmora-count").string(), {"convert", "--frame", "49.43", "7.04"});
  EXPECT_EQ(frame.exitStatus, 0) << "a point in the grid's frame needs no library";
  EXPECT_EQ(frame.out, "6508/323\n");
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
