#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <filesystem>

#include "addin/Velmora_TLB.h"
#include "addin_module.h"
#include "host/about_addins.h"
#include "host/addins.h"
#include "host/application_settings.h"
#include "host/host_start.h"
#include "host/host_window.h"
#include "host/options.h"
#include "modal_closer.h"
#include "platform/com/registry.h"
#include "platform/db/connection_string.h"
#include "platform/message_box.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora::host {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

HostOptions Parse(std::initializer_list<std::string_view> arguments) {
  const std::vector<std::string_view> args(arguments);
  return ParseHostOptions(args);
}

TEST(HostOptions, TakeTheDatabaseAModuleAndListing) {
  const HostOptions none = Parse({});
  EXPECT_FALSE(none.connectionString);
  EXPECT_FALSE(none.module);
  EXPECT_FALSE(none.listAddins);
  EXPECT_FALSE(none.help);

  const HostOptions db =
      Parse({"--db", "demo/demo.db", "--install-addin", "/opt/b.so", "--list-addins"});
  EXPECT_EQ(db.connectionString,
            "Provider=SQLite;Data Source=" + (fs::current_path() / "demo/demo.db").string());
  EXPECT_EQ(db.module, "/opt/b.so");
  EXPECT_TRUE(db.listAddins);

  EXPECT_EQ(Parse({"--connect", "Driver=X;PWD=a b"}).connectionString, "Driver=X;PWD=a b");
  EXPECT_TRUE(Parse({"--help"}).help);
  EXPECT_TRUE(Parse({"-h"}).help);
  EXPECT_TRUE(Parse({"--db", "a;b.db", "--help"}).help) << "help whatever else is given";

  // The stored connection string leads to the file as named, blanks and all.
  for (const std::string_view path : {"sp.db ", "a;b.db", "\"q\" .db\t"}) {
    EXPECT_EQ(SqliteDataSource(*Parse({"--db", path}).connectionString),
              (fs::current_path() / path).string());
  }
}

// Run as a user runs it, on a machine without a display: help and refusals
// need none, as they come before any window.
TEST(VelmoraHost, HelpAndBadOptionsNeedNoDisplay) {
  const auto host = [](std::vector<std::string> args) {
    args.insert(args.begin(), {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM",
                               VELMORA_HOST_PATH});
    return testing::RunCommand("/usr/bin/env", args);
  };
  const std::string usage =
      "usage: velmora-host [--db PATH | --connect TEXT] [--install-addin MODULE] "
      "[--list-addins]\n       velmora-host --help\n";
  const testing::CommandResult help = host({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind(usage + "\nvelmora-host stands in for Recorder 6", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("--list-addins"), std::string::npos);
  EXPECT_EQ(host({"-h"}).out, help.out);
  EXPECT_EQ(host({"--bogus", "-h"}).out, help.out);

  const testing::CommandResult bad = host({"--bogus"});
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "velmora-host: unknown option '--bogus'\n" + usage);
}

// A user's very first start, on an empty home: beside its demo database the
// host writes the wizard's settings for it, so that the wizard's first opening
// shows the demo's map. A start that writes the demo again keeps the
// settings a user has.
TEST(VelmoraHost, AFirstStartSetsTheWizardUpForTheDemo) {
  const testing::TempFolder home;
  const auto start = [&] {
    return testing::RunCommand(
        "/usr/bin/env", {"-u", "XDG_DATA_HOME", "-u", "XDG_CONFIG_HOME",
                         "HOME=" + home.Path().string(), VELMORA_HOST_PATH, "--list-addins"});
  };
  const fs::path data = home.Path() / ".local" / "share";
  const fs::path settings = data / "Velmora" / "settings.ini";
  const testing::CommandResult first = start();
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_EQ(testing::ReadFileBytes(settings),
            "eMtbNW=6508\r\neMtbSE=6711\r\nrgGridSystem=0\r\nrgGridType=1\r\neBackgroundImage=" +
                (data / "velmora" / "demo.bmp").string() +
                "\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\nshpRBsrColor=clBlack\r\n"
                "shpCellValueColor=clBlack\r\n");
  EXPECT_GT(fs::file_size(data / "velmora" / "demo.bmp"), 0u);

  testing::WriteFileBytes(settings, "eMtbNW=0901\r\n");
  fs::remove(data / "velmora" / "demo.sqlite");
  ASSERT_EQ(start().exitStatus, 0);
  EXPECT_TRUE(fs::exists(data / "velmora" / "demo.sqlite"));
  EXPECT_EQ(testing::ReadFileBytes(settings), "eMtbNW=0901\r\n");
}

TEST(HostOptions, RefuseWhatTheyCannotTake) {
  const std::initializer_list<std::string_view> bad[] = {
      {"--db", ""}, {"--db", "a.db", "--connect", "Driver=X"},
      {"--db"},     {"--bogus"},
      {"stray"},    {"--install-addin", "a.so", "--install-addin", "b.so"},
  };
  for (const auto& arguments : bad) {
    EXPECT_THROW(Parse(arguments), cli::UsageError) << *arguments.begin();
  }
}

TEST(MaskedConnectionString, HidesPasswordsOnly) {
  EXPECT_EQ(MaskedConnectionString("Driver=X;Server=s;UID=u;PWD=secret;Database=NBNData"),
            "Driver=X;Server=s;UID=u;PWD=***;Database=NBNData");
  EXPECT_EQ(MaskedConnectionString("password=a b;Provider=Y"), "password=***;Provider=Y");
  EXPECT_EQ(MaskedConnectionString("Provider=SQLite;Data Source=/home/pwd=x/demo.sqlite"),
            "Provider=SQLite;Data Source=/home/pwd=x/demo.sqlite");
}

// Each test starts with an empty registry and a folder of its own.
class Host : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove(RegistryFilePath()); }
  void TearDown() override { fs::remove(RegistryFilePath()); }

  const testing::TempFolder temp_;
  const fs::path folder_ = temp_.Path();
};

TEST_F(Host, InstallsAModuleAndShowsItsMenuEntryAndDescription) {
  EXPECT_TRUE(LoadInstalledAddins().empty());
  EXPECT_EQ(InstallAddin(testing::AddinModulePath()), std::vector<CLSID>{CLASS_VelmoraMI});
  EXPECT_EQ(Registry::Load(RegistryFilePath())
                .Value(InstalledAddinsKey() + "\\" + FormatGuid(CLASS_VelmoraMI)),
            testing::AddinModulePath());

  WriteAddinPath(fs::path(testing::AddinModulePath()).parent_path());
  const std::vector<Addin> addins = LoadInstalledAddins();
  ASSERT_EQ(addins.size(), 1u);
  const Addin& addin = addins[0];
  EXPECT_EQ(addin.failure, "");
  EXPECT_EQ(addin.name, "Velmora Addin");
  EXPECT_EQ(addin.description, "Velmora\r\nVersion " VELMORA_PROJECT_VERSION);
  EXPECT_TRUE(addin.hasMenuItem);
  EXPECT_EQ(addin.menuCaption, "MTB Raster auszählen");
  EXPECT_EQ(addin.menuHint, "Hinweis");
  EXPECT_EQ(addin.menuParent, "Reports");
  EXPECT_TRUE(addin.menuEnabled);
  EXPECT_TRUE(addin.action);

  HostWindow window("Provider=SQLite;Data Source=nbn.db", folder_);
  const QList<QAction*> reports = window.Menu("reports").actions();
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(reports[0]->text(), "MTB Raster auszählen");
  EXPECT_EQ(reports[0]->statusTip(), "Hinweis");
  EXPECT_TRUE(reports[0]->isEnabled());
  EXPECT_EQ(window.menuBar()->actions().size(), 4) << "no menu of its own for the add-in";

  AboutAddinsDialog about(window.Addins(), &window);
  const auto* list = about.findChild<QTreeWidget*>("addinList");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Velmora Addin");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "Velmora\nVersion " VELMORA_PROJECT_VERSION);
}

// A user's first steps: "Reports" opened while it is empty, the add-in
// installed from the running host, "Reports" opened again.
TEST_F(Host, AnAddinInstalledAfterReportsWasOpenedEmptyShowsWhenItOpensAgain) {
  HostWindow window("Provider=SQLite;Data Source=nbn.db", folder_);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QMenuBar& bar = *window.menuBar();
  QMenu& reports = window.Menu("Reports");
  const QPoint caption = bar.actionGeometry(reports.menuAction()).center();
  QTest::mouseClick(&bar, Qt::LeftButton, {}, caption);
  ASSERT_TRUE(reports.isVisible());
  QTest::keyClick(&reports, Qt::Key_Escape);
  ASSERT_FALSE(reports.isVisible());

  window.Install(testing::AddinModulePath());
  QTest::mouseClick(&bar, Qt::LeftButton, {}, caption);
  ASSERT_EQ(reports.actions().size(), 1);
  EXPECT_TRUE(reports.windowHandle() && reports.windowHandle()->isVisible())
      << "the menu's window is shown";
  const QRect entry = reports.actionGeometry(reports.actions()[0]);
  EXPECT_FALSE(entry.isEmpty());
  EXPECT_TRUE(reports.rect().contains(entry)) << "the entry lies inside the menu";
  QTest::keyClick(&reports, Qt::Key_Escape);
}

TEST_F(Host, AFailedExecuteShowsTheAddinsDescriptionOfTheError) {
  InstallAddin(testing::AddinModulePath());
  const ApplicationSettingsClass settings(SqliteConnectionString(folder_ / "missing" / "nbn.db"));
  HostWindow window(HostConnectionString(), folder_);
  RecordingMessageSink hostMessages;
  testing::ModalCloser user;
  window.Menu("Reports").actions().at(0)->trigger();
  EXPECT_EQ(user.Closed(), std::vector<std::string>{"message: Error while connecting"})
      << "the add-in's own message";
  EXPECT_EQ(hostMessages.Texts(), std::vector<std::string>{"Operation aborted"});
}

TEST_F(Host, RefusesWhatIsNoAddinModule) {
  testing::WriteFileBytes(folder_ / "text.so", "not a module");
  const struct {
    fs::path module;
    const char* reason;
  } cases[] = {
      {folder_ / "text.so", "Cannot load the add-in"},
      {folder_ / "missing.so", "Cannot load the add-in"},
      {VELMORA_GEODLL, "is no add-in module"},
  };
  for (const auto& c : cases) {
    try {
      InstallAddin(c.module);
      ADD_FAILURE() << c.module << " installed";
    } catch (const Exception& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
    }
  }
  EXPECT_TRUE(LoadInstalledAddins().empty());
}

// Listing, or on a platform whose windows nobody sees, a message box would
// wait for a click that never comes: the failure ends the run instead.
TEST_F(Host, AModuleThatCannotBeInstalledWithoutAVisibleWindowEndsTheRun) {
  testing::WriteFileBytes(folder_ / "text.so", "not a module");
  const std::vector<std::string> runs[] = {
      {"QT_QPA_PLATFORM=offscreen"},
      {"QT_QPA_PLATFORM=minimal"},
      {"QT_QPA_PLATFORM=offscreen", "--list-addins"},
  };
  for (std::vector<std::string> args : runs) {
    SCOPED_TRACE(args.back());
    args.insert(args.begin() + 1,
                {"timeout", "30", VELMORA_HOST_PATH, "--install-addin", (folder_ / "text.so")});
    const testing::CommandResult host = testing::RunCommand("/usr/bin/env", args);
    EXPECT_EQ(host.exitStatus, 1);
    EXPECT_EQ(host.out, "");
    EXPECT_NE(host.err.find("velmora-host: Cannot load the add-in"), std::string::npos) << host.err;
  }
}

TEST_F(Host, WritesItsAddinPathAndDatabase) {
  WriteAddinPath("/opt/velmora/lib/velmora");
  WriteHostConnectionString("Driver=X;Database=NBNData");
  const Registry registry = Registry::Load(RegistryFilePath());
  EXPECT_EQ(registry.Value(kHostSettingsKey, "Addin Path"), "/opt/velmora/lib/velmora");
  EXPECT_EQ(HostConnectionString(), "Driver=X;Database=NBNData");
}

TEST_F(Host, WritesTheDemoDatabaseOnlyWhenItIsMissing) {
  const fs::path database = folder_ / "velmora" / "demo.sqlite";
  EXPECT_TRUE(WriteDemoDatabaseIfMissing(database));
  EXPECT_GT(fs::file_size(database), 0u);
  EXPECT_GT(fs::file_size(folder_ / "velmora" / "demo.bmp"), 0u);
  testing::WriteFileBytes(database, "kept");
  EXPECT_FALSE(WriteDemoDatabaseIfMissing(database));
  EXPECT_EQ(fs::file_size(database), 4u);
}

}  // namespace
}  // namespace velmora::host
