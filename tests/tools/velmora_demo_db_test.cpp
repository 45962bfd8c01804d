// The velmora-demo-db command line: stdout, stderr, the exit status and the
// files it leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

using velmora::testing::CommandResult;
using velmora::testing::RunCommand;

CommandResult DemoDb(const std::vector<std::string>& args) {
  return RunCommand(VELMORA_DEMO_DB_PATH, args);
}

TEST(VelmoraDemoDb, WritesADatabaseThatTheSqliteToolOpensAndABackground) {
  testing::TempFolder folder;
  const std::string db = (folder.Path() / "demo.db").string();
  const std::string bmp = (folder.Path() / "demo.bmp").string();
  const CommandResult r = DemoDb({"--out",
                                  db,
                                  "--samples",
                                  "40",
                                  "--occurrences-per-sample",
                                  "3",
                                  "--taxa",
                                  "30",
                                  "--taxon-groups",
                                  "4",
                                  "--surveys",
                                  "2",
                                  "--nw",
                                  "W5099",
                                  "--se",
                                  "5101",
                                  "--bmp",
                                  bmp,
                                  "--seed",
                                  "3"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.substr(0, db.size() + 12), db + ": 40 samples");
  EXPECT_NE(r.out.find(bmp + ": 720 x 448 pixels, W5099 to 5101\n"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(db + ".partial"));

  const CommandResult query = RunCommand(
      "/usr/bin/sqlite3", {db,
                           "SELECT count(*) FROM TAXON_OCCURRENCE; "
                           "SELECT count(*) FROM TAXON_GROUP; SELECT count(*) FROM SURVEY;"});
  EXPECT_EQ(query.exitStatus, 0) << query.err;
  EXPECT_EQ(query.out, "120\n4\n2\n");
}

TEST(VelmoraDemoDb, ShowsABarOnATerminalOnly) {
  if (const auto missing = testing::WhyNoPseudoTerminal()) GTEST_SKIP() << *missing;
  testing::TempFolder folder;
  const std::string db = (folder.Path() / "demo.db").string();
  const CommandResult r =
      testing::RunCommandOnTerminal(VELMORA_DEMO_DB_PATH, {"--out", db, "--samples", "300"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, db.size() + 13), db + ": 300 samples") << "the summary stays on stdout";
  EXPECT_EQ(r.err.substr(0, 5), "\r[   ") << r.err;
  EXPECT_NE(r.err.find("]  50%"), std::string::npos) << r.err;
  const std::string full = "\r[" + std::string(50, '#') + "] 100%\n";
  ASSERT_GE(r.err.size(), full.size());
  EXPECT_EQ(r.err.substr(r.err.size() - full.size()), full) << r.err;
}

TEST(VelmoraDemoDb, RefusesToOverwriteWithoutForce) {
  testing::TempFolder folder;
  const std::string db = (folder.Path() / "demo.db").string();
  std::ofstream(db) << "precious";
  const CommandResult refused = DemoDb({"--out", db, "--samples", "10"});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
  EXPECT_EQ(testing::ReadFileBytes(db), "precious");

  const std::string bmp = (folder.Path() / "old.bmp").string();
  std::ofstream(bmp) << "old";
  EXPECT_EQ(DemoDb({"--out", (folder.Path() / "new.db").string(), "--bmp", bmp}).exitStatus, 1)
      << "an existing picture is kept as well";
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "new.db")) << "nothing written at all";

  EXPECT_EQ(DemoDb({"--out", db, "--samples", "10", "--force"}).exitStatus, 0);
  EXPECT_EQ(RunCommand("/usr/bin/sqlite3", {db, "SELECT count(*) FROM SAMPLE"}).out, "10\n");
}

TEST(VelmoraDemoDb, AFailedWriteKeepsTheOldFilesAndLeavesNoTemporary) {
  testing::TempFolder folder;
  const std::string db = (folder.Path() / "demo.db").string();
  const std::string bmp = (folder.Path() / "demo.bmp").string();
  std::ofstream(db) << "the old database";
  std::ofstream(bmp) << "the old picture";
  // As on a full disk: no file may grow beyond 100000 bytes, which the database
  // outgrows; in the second run the small database fits but the picture does not.
  const auto limited = [](std::vector<std::string> args) {
    args.insert(args.begin(), {"--fsize=100000", "--", VELMORA_DEMO_DB_PATH});
    return RunCommand("/usr/bin/prlimit", args);
  };
  const CommandResult database = limited({"--out", db, "--samples", "2000", "--force"});
  EXPECT_EQ(database.exitStatus, 1);
  EXPECT_EQ(database.err,
            "velmora-demo-db: The file '" + db + "' could not be written: disk I/O error\n");
  const std::string small = (folder.Path() / "small.db").string();
  const CommandResult picture =
      limited({"--out", small, "--samples", "1", "--taxa", "1", "--taxon-groups", "1", "--surveys",
               "1", "--nw", "6508", "--se", "6508", "--bmp", bmp, "--force"});
  EXPECT_EQ(picture.exitStatus, 1);
  EXPECT_EQ(picture.err,
            "velmora-demo-db: The file '" + bmp + "' could not be written: File too large\n");

  EXPECT_EQ(testing::ReadFileBytes(db), "the old database");
  EXPECT_EQ(testing::ReadFileBytes(bmp), "the old picture");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2)
      << "the old files, no temporary, and no database without its picture";
}

// Ended by Ctrl-C or by the system, the program leaves no temporary behind:
// nothing but what was there before.
TEST(VelmoraDemoDb, AnInterruptLeavesNoTemporary) {
  testing::TempFolder folder;
  const std::string db = folder.PathOf("demo.db"), bmp = folder.PathOf("demo.bmp");
  const auto files = [&folder] {
    return std::distance(std::filesystem::directory_iterator(folder.Path()), {});
  };
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(strsignal(signalNumber));
    const char* const args[] = {VELMORA_DEMO_DB_PATH, "--out",     db.c_str(), "--bmp",
                                bmp.c_str(),          "--samples", "5000000",  nullptr};
    pid_t child = 0;
    ASSERT_EQ(
        ::posix_spawn(&child, args[0], nullptr, nullptr, const_cast<char* const*>(args), environ),
        0);
    // Interrupted once both temporaries are there.
    for (int wait = 0; wait < 3000 && files() < 2; ++wait) ::usleep(10'000);
    ::kill(child, signalNumber);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
    EXPECT_EQ(files(), 0);
  }
}

// The path is the file's name as given, blanks included.
TEST(VelmoraDemoDb, AnOutputPathIsTakenAsGiven) {
  testing::TempFolder folder;
  const std::string db = folder.PathOf("demo.db ");
  const CommandResult r = DemoDb({"--out", db, "--samples", "10"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(RunCommand("/usr/bin/sqlite3", {db, "SELECT count(*) FROM SAMPLE"}).out, "10\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(VelmoraDemoDb, HelpGoesToStandardOutputWithStatusZero) {
  const CommandResult help = DemoDb({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: velmora-demo-db --out PATH", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--occurrences-per-sample N  taxon occurrences per sample"),
            std::string::npos);
  EXPECT_EQ(DemoDb({"-h"}).out, help.out);
  EXPECT_EQ(DemoDb({"--out", "x.db", "--samples", "ten", "-h"}).out, help.out);
}

TEST(VelmoraDemoDb, BadArgumentsExitWithStatusTwoBeforeWritingAnything) {
  testing::TempFolder folder;
  const std::string db = (folder.Path() / "x.db").string();
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--samples", "10"},
      {"--out", db, "--samples", "ten"},
      {"--out", db, "--samples", "-1"},
      {"--out", db, "--taxa", "0"},
      {"--out", db, "--seed", "1", "--seed", "2"},
      {"--out", db, "--nw", "6508"},
      {"--out", db, "--nw", "6711", "--se", "6508"},
      {"--out", db, "--nw", "65O8", "--se", "6711"},
      {"--out", db, "--frobnicate", "1"},
      {"--out", db, "extra"},
      {"--out"},
      {"--out", db, "--bmp", db},
      {"--out", db, "--bmp", (folder.Path() / "." / "x.db").string()},
  };
  for (const auto& args : bad) {
    const CommandResult r = DemoDb(args);
    EXPECT_EQ(r.exitStatus, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage: velmora-demo-db --out PATH"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(db));
  EXPECT_NE(DemoDb({"--out", db, "--nw", "65O8", "--se", "6711"}).err.find("'65O8'"),
            std::string::npos)
      << "the message names the bad sheet number";
}

}  // namespace
}  // namespace velmora
