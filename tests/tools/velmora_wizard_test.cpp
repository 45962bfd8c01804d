// velmora-wizard from outside: its options, a whole unattended run on a
// generated database, and failures that must end the run instead of waiting
// for a click on a message box nobody sees.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "support/file_bytes.h"
#include "support/full_file_system.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;

class VelmoraWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(VelmoraFolderPath());
    // Qt wants a private run-time folder; without one it says so on stderr.
    runtime_ = folder_.Path() / "runtime";
    fs::create_directories(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all);
  }
  void TearDown() override { fs::remove_all(VelmoraFolderPath()); }

  // Runs the program offscreen, or without any display, ended by force should
  // it ever wait for input.
  CommandResult Wizard(const std::vector<std::string>& args, bool display = true) const {
    std::vector<std::string> command;
    if (display) {
      command = {"QT_QPA_PLATFORM=offscreen"};
    } else {
      command = {"-u", "DISPLAY", "-u", "QT_QPA_PLATFORM"};
    }
    command.insert(command.end(),
                   {"XDG_RUNTIME_DIR=" + runtime_.string(), "timeout", "120", VELMORA_WIZARD_PATH});
    command.insert(command.end(), args.begin(), args.end());
    return testing::RunCommand("/usr/bin/env", command);
  }

  static void WriteSettings(const std::string& text) {
    fs::create_directories(VelmoraFolderPath());
    testing::WriteFileBytes(SettingsFilePath(), text);
  }

  static std::string SettingsText() { return testing::ReadFileBytes(SettingsFilePath()); }

  testing::TempFolder folder_;
  fs::path runtime_;
};

TEST_F(VelmoraWizard, HelpNeedsNoDisplayAndBadOptionsAreRefused) {
  const CommandResult help = Wizard({"--help"}, false);
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("usage: velmora-wizard [--db PATH | --connect TEXT]", 0), 0u)
      << help.out;
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(Wizard({"-h"}, false).out, help.out);
  EXPECT_EQ(Wizard({"--frobnicate", "-h"}, false).out, help.out);

  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"--frobnicate"},
       "velmora-wizard: unknown option '--frobnicate' (see velmora-wizard "
       "--help)\n"},
      {{"--db"}, "velmora-wizard: option --db needs a value\n"},
      {{"--db", "/no/such.db"}, "velmora-wizard: the database file '/no/such.db' does not exist\n"},
      {{"--db", "/tmp", "--count"}, "velmora-wizard: '/tmp' is not a database file\n"},
      {{"--connect", "x", "--db", "/no/such.db"},
       "velmora-wizard: give the database with exactly one of --db and --connect\n"},
      {{"--connect", "x", "--connect", "y"}, "velmora-wizard: option --connect given twice\n"},
      {{"karte"}, "velmora-wizard: unknown option 'karte' (see velmora-wizard --help)\n"},
  };
  for (const Case& c : cases) {
    const CommandResult r = Wizard(c.args, false);
    EXPECT_EQ(r.exitStatus, 2) << c.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

TEST_F(VelmoraWizard,
       CountsAGeneratedDatabaseExportsItTakesItsPicturesAndClosesAsTheCloseButtonWould) {
  demo::DemoOptions options;
  options.samples = 400;
  demo::WriteDemoDatabase(folder_.Path() / "demo.db", options);
  demo::WriteBackgroundBmp(folder_.Path() / "demo.bmp", options.extent, options.seed);
  WriteSettings("eMtbNW=6508\neMtbSE=6711\nrgGridType=1\neBackgroundImage=" +
                (folder_.Path() / "demo.bmp").string() + "\n");

  const fs::path shots = folder_.Path() / "shots";
  const std::string database = (folder_.Path() / "demo.db").string();
  const CommandResult r =
      Wizard({"--db", database, "--count", "--export", (folder_.Path() / "karte").string(),
              "--screenshot", shots.string()});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const std::string jpeg = testing::ReadFileBytes(folder_.Path() / "karte.jpg");
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8") << "the export, with the extension the dialog adds";
  EXPECT_GT(fs::file_size(shots / "karte.png"), 1000u);
  EXPECT_GT(fs::file_size(shots / "einstellungen.png"), 1000u);
  EXPECT_EQ(std::distance(fs::directory_iterator(shots), fs::directory_iterator()), 2)
      << "nothing left beside the pictures";
  EXPECT_EQ(SettingsText(),
            "eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=0\r\nrgGridType=1\r\neBackgroundImage=" +
                (folder_.Path() / "demo.bmp").string() +
                "\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
                "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n"
                "clbTaxonGroups=NHMSYS0000000001,NHMSYS0000000002,NHMSYS0000000003,"
                "NHMSYS0000000004,NHMSYS0000000005,NHMSYS0000000006,NHMSYS0000000007,"
                "NHMSYS0000000008\r\nClbSurveys=VLMDEMO100000005,VLMDEMO100000006,"
                "VLMDEMO100000002,VLMDEMO100000001,VLMDEMO100000003,VLMDEMO100000004\r\n")
      << "the tear-down wrote the settings, with every item of the lists ticked";

  // An export that cannot be written ends the run with the dialog's message.
  const CommandResult failed = Wizard({"--db", database, "--export", "/no/such/folder/karte.jpg"});
  EXPECT_EQ(failed.exitStatus, 1);
  EXPECT_EQ(failed.err,
            "velmora-wizard: Die Datei '/no/such/folder/karte.jpg' konnte nicht geschrieben "
            "werden: Datei oder Verzeichnis nicht gefunden.\n");
}

// On a full disk the pictures stay as they were, and the message names the
// one that could not be written.
TEST_F(VelmoraWizard, PicturesThatCannotBeWrittenAreKeptAsTheyWere) {
  const fs::path shots = folder_.Path() / "shots";
  const testing::FullFileSystem disk(shots);
  if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
  demo::DemoOptions options;
  options.samples = 40;
  const std::string database = folder_.PathOf("demo.db");
  demo::WriteDemoDatabase(database, options);
  // Without a background the pages make pictures small enough for the
  // library's buffer, whose failed flush it does not report.
  WriteSettings("eMtbNW=6508\neMtbSE=6711\n");
  testing::WriteFileBytes(shots / "karte.png", "the old map");
  testing::WriteFileBytes(shots / "einstellungen.png", "the old settings page");
  disk.Fill();
  const CommandResult r = Wizard({"--db", database, "--screenshot", shots.string()});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "velmora-wizard: The file '" + (shots / "karte.png").string() +
                       "' could not be written: No space left on device.\n");
  EXPECT_EQ(testing::ReadFileBytes(shots / "karte.png"), "the old map");
  EXPECT_EQ(testing::ReadFileBytes(shots / "einstellungen.png"), "the old settings page");
  EXPECT_EQ(std::distance(fs::directory_iterator(shots), fs::directory_iterator()), 3)
      << "the pictures and the filler, no temporary";
}

TEST_F(VelmoraWizard, AFailedStartGoesToStandardErrorAndEndsTheRun) {
  const std::string database = (folder_.Path() / "empty.db").string();
  std::ofstream{database};
  struct Case {
    std::string name;
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {"settings value that is no number",
       {"--db", database, "--screenshot", "shots"},
       "velmora-wizard: 'abc' is not a valid integer value.\n"},
      {"connection refused",
       {"--connect", "Driver=/no/such/driver.so", "--count"},
       "velmora-wizard: Error while connecting\n"},
      {"database without the host's tables",
       {"--db", database, "--count"},
       "velmora-wizard: no such table: TAXON_GROUP.\n"},
  };
  for (const Case& c : cases) {
    WriteSettings(c.name == cases[0].name ? "rgGridType=abc\n" : "");
    const CommandResult r = Wizard(c.args);
    EXPECT_EQ(r.exitStatus, 1) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err, c.err) << c.name;
  }
  EXPECT_FALSE(fs::exists("shots"));
}

TEST_F(VelmoraWizard, ASettingsFileThatCannotBeReadEndsTheRun) {
  fs::create_directories(SettingsFilePath());
  const CommandResult r = Wizard({"--screenshot", (folder_.Path() / "shots").string()});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err.rfind("velmora-wizard: ", 0), 0u) << r.err;
  EXPECT_FALSE(fs::exists(folder_.Path() / "shots"));
}

}  // namespace
}  // namespace velmora
