// What every program does alike, run from outside: output that cannot be
// written is a failure, and an option given twice is refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

struct Invocation {
  Invocation(const char* path, std::vector<std::string> arguments, std::string standardInput = "")
      : program(path), args(std::move(arguments)), input(std::move(standardInput)) {}
  const char* program;
  std::vector<std::string> args;
  std::string input;  // on its standard input
};

class AllPrograms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing::TempFolder;
    demo::DemoOptions options;
    options.samples = 200;
    options.extent = *Extent::Read("6508", "6609");
    demo::WriteDemoDatabase(Db(), options);
    demo::WriteBackgroundBmp(Bmp(), options.extent, options.seed);
  }
  static void TearDownTestSuite() { delete folder_; }

  static std::string Db() { return folder_->PathOf("demo.db"); }
  static std::string Bmp() { return folder_->PathOf("demo.bmp"); }
  static std::string Out(const std::string& name) { return folder_->PathOf(name); }

  // The program with its standard output on `output`, offscreen, ended by
  // force should it ever wait.
  static CommandResult WritingTo(const std::string& output, const Invocation& run) {
    std::vector<std::string> args = {
        "-c", "exec \"$@\" > \"$0\"", output, "/usr/bin/timeout", "120", run.program};
    args.insert(args.end(), run.args.begin(), run.args.end());
    return testing::RunCommand("/bin/sh", args, run.input);
  }

  static testing::TempFolder* folder_;
};

testing::TempFolder* AllPrograms::folder_ = nullptr;

std::string NameOf(const char* program) { return fs::path(program).filename().string(); }

// Every command, its help included, with standard output on a node of the
// kernel's full device (1, 7), where every write fails as on a full disk: a
// message and exit status 1, never a run that passes for done with nothing
// written.
TEST_F(AllPrograms, OutputThatCannotBeWrittenIsAFailure) {
  const std::string full = Out("full");
  if (::mknod(full.c_str(), S_IFCHR | 0600, ::makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make a device node here: " << std::strerror(errno);
  }
  const std::string db = Db();
  const Invocation runs[] = {
      {VELMORA_COUNT_PATH, {"--help"}},
      {VELMORA_COUNT_PATH,
       {"count", "--db", db, "--nw", "6508", "--se", "6609", "--system", "QYX", "--type", "1"}},
      {VELMORA_COUNT_PATH,
       {"count", "--db", db, "--nw", "6508", "--se", "6609", "--system", "QYX", "--type", "1",
        "--format", "csv"}},
      {VELMORA_COUNT_PATH,
       {"count", "--db", db, "--nw", "6508", "--se", "6609", "--system", "QYX", "--type", "1",
        "--format", "geojson"}},
      {VELMORA_COUNT_PATH, {"groups", "--db", db}},
      {VELMORA_COUNT_PATH, {"surveys", "--db", db}},
      {VELMORA_COUNT_PATH, {"cells", "6508", "6609", "4"}},
      {VELMORA_COUNT_PATH, {"sheets", "W5099", "9999"}},
      {VELMORA_COUNT_PATH, {"convert", "49.43", "7.04"}},
      {VELMORA_COUNT_PATH, {"convert"}, "49.43 7.04\n"},
      {VELMORA_MAP_PATH, {"--help"}},
      {VELMORA_MAP_PATH,
       {"map", "--db", db, "--bmp", Bmp(), "--nw", "6508", "--se", "6609", "--out",
        Out("map.png")}},
      {VELMORA_MAP_PATH,
       {"draw", "--nw", "6508", "--se", "6609", "--bmp", Bmp(), "--out", Out("draw.png")}},
      {VELMORA_MAP_PATH,
       {"background", "--nw", "6508", "--se", "6508", "--sheet-size", "10", "--out",
        Out("background.bmp")}},
      {VELMORA_DEMO_DB_PATH, {"--help"}},
      {VELMORA_DEMO_DB_PATH, {"--out", Out("new.db"), "--samples", "10"}},
      {VELMORA_HOST_PATH, {"--help"}},
      {VELMORA_HOST_PATH, {"--install-addin", VELMORA_MODULE, "--list-addins"}},
      {VELMORA_WIZARD_PATH, {"--help"}},
  };
  for (const Invocation& run : runs) {
    const std::string program = NameOf(run.program);
    SCOPED_TRACE(program + " " + run.args[0]);
    const CommandResult r = WritingTo(full, run);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_THAT(r.err, ::testing::EndsWith(
                           program + ": cannot write standard output: No space left on device\n"));
  }
}

// Whatever its values: a script that sets an option twice holds a mistake,
// which a later value that quietly wins would hide.
TEST_F(AllPrograms, RefuseAnOptionGivenTwice) {
  const Invocation runs[] = {
      {VELMORA_COUNT_PATH, {"count", "--db", "a.db", "--db", "b.db"}},
      {VELMORA_COUNT_PATH, {"convert", "--system", "QYX", "--system", "QQQ", "49.43", "7.04"}},
      {VELMORA_COUNT_PATH, {"convert", "--frame", "--frame", "49.43", "7.04"}},
      {VELMORA_COUNT_PATH, {"groups", "--db", "a.db", "--db", "a.db"}},
      {VELMORA_MAP_PATH, {"map", "--groups", "A", "--groups", "B"}},
      {VELMORA_DEMO_DB_PATH, {"--out", "a.db", "--out", "b.db"}},
      {VELMORA_HOST_PATH, {"--install-addin", "a.so", "--install-addin", "b.so"}},
      {VELMORA_WIZARD_PATH, {"--connect", "x", "--connect", "y"}},
  };
  for (const Invocation& run : runs) {
    const auto twice = std::ranges::find_if(
        run.args, [&](const std::string& arg) { return std::ranges::count(run.args, arg) == 2; });
    SCOPED_TRACE(NameOf(run.program) + " " + *twice);
    const CommandResult r = testing::RunCommand(run.program, run.args);
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, ::testing::AllOf(::testing::HasSubstr(*twice),
                                        ::testing::HasSubstr(" given twice")));
  }
}

}  // namespace
}  // namespace velmora
