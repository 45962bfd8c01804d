#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "grid/geodll32.h"
#include "host_fixture.h"
#include "picture_compare.h"
#include "platform/errors.h"
#include "session_connector.h"
#include "support/file_bytes.h"
#include "support/file_permissions.h"
#include "wizard/database_connector.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Each test starts without a settings file in the test's own data folder.
class WizardLifecycle : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove(SettingsFilePath()); }

  static void WriteFile(const std::string& text) {
    fs::create_directories(VelmoraFolderPath());
    testing::WriteFileBytes(SettingsFilePath(), text);
  }

  static std::string FileText() { return testing::ReadFileBytes(SettingsFilePath()); }
};

TEST_F(WizardLifecycle, StoredSettingsReachTheControlsAndTheFirstCellList) {
  WriteFile(
      "EMTBNW=6508\neMtbSe=6609\nrgGridSystem=1\nrgGridType=3\n"
      "eBackgroundImage=C:\\a=b.bmp\neFontSizeMargins=\neFontSizeCells=12\n"
      "ShpRBsrColor=clRed\nshpCellValueColor=$00FF8000\n");
  const auto wizard = CreateWizard();
  EXPECT_EQ(wizard->eMtbNw.text(), "6508");
  EXPECT_EQ(wizard->eMtbSe.text(), "6609");
  EXPECT_EQ(wizard->rgGridSystem.ItemIndex(), 1);
  EXPECT_EQ(wizard->rgGridType.ItemIndex(), 3);
  EXPECT_EQ(wizard->eBackgroundImage.text(), "C:\\a=b.bmp");
  EXPECT_EQ(wizard->eFontSizeMargins.text(), "");
  EXPECT_EQ(wizard->eFontSizeCells.text(), "12");
  EXPECT_EQ(wizard->ShpRBsrColor.BrushColor(), 0x0000FFu);
  EXPECT_EQ(wizard->shpCellValueColor.BrushColor(), 0x00FF8000u);

  EXPECT_EQ(wizard->Map.CellsPerSheet, 64);
  EXPECT_EQ(wizard->Map.GridSystemCode, "QQQ");
  EXPECT_EQ(wizard->Map.CellRows, 16);
  EXPECT_EQ(wizard->Map.BackgroundImagePath, "C:\\a=b.bmp");
  EXPECT_FALSE(wizard->rgGridType.IsItemEnabled(4)) << "minute fields are not offered";
  EXPECT_EQ(wizard->pcWizard.currentIndex(), 0);
}

// The host's settings file in Latin-1: the path reaches its edit with its
// accents, and goes back into the file with its bytes.
TEST_F(WizardLifecycle, ALatin1SettingsFileKeepsItsPaths) {
  WriteFile("eMtbNW=6508\r\neMtbSE=6609\r\neBackgroundImage=C:\\Karten\\M\xFChlheim\xE9.bmp\r\n");
  auto wizard = CreateWizard();
  EXPECT_EQ(wizard->eBackgroundImage.text(), QString::fromUtf8("C:\\Karten\\Mühlheimé.bmp"));
  DestroyWizard(std::move(wizard));
  EXPECT_NE(FileText().find("\r\neBackgroundImage=C:\\Karten\\M\xFChlheim\xE9.bmp\r\n"),
            std::string::npos)
      << FileText();
}

TEST_F(WizardLifecycle, ClosingWritesTheControlsAsTheyStand) {
  auto wizard = CreateWizard();
  wizard->eMtbSe.setText("8758");
  wizard->rgGridType.SetItemIndex(-1);
  wizard->shpCellValueColor.SetBrushColor(0x00FF8000);
  DestroyWizard(std::move(wizard));
  EXPECT_EQ(FileText(),
            "eMtbNW=0901\r\neMtbSE=8758\r\nrgGridSystem=0\r\nrgGridType=-1\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=$00FF8000\r\n");
}

TEST_F(WizardLifecycle, AValueThatIsNoNumberStopsTheStartAndTheRewriteRepairsTheFile) {
  WriteFile("eMtbNW=6508\neMtbSE=6609\nrgGridSystem=abc\nrgGridType=2\neFontSizeCells=7\n");
  try {
    CreateWizard();
    FAIL() << "the dialog opened";
  } catch (const ConvertError& error) {
    EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(FileText(),
            "eMtbNW=6508\r\neMtbSE=6609\r\nrgGridSystem=0\r\nrgGridType=0\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n");
  EXPECT_EQ(CreateWizard()->eMtbNw.text(), "6508");
}

// The rewrite after a failed start repairs a file that was read; one that
// could not be read at all stays as it is, and the message says why.
TEST_F(WizardLifecycle, ASettingsFileThatCannotBeReadIsNeverReplaced) {
  const std::string path = SettingsFilePath();
  const auto startFails = [&path](const std::string& reason) {
    try {
      CreateWizard();
      ADD_FAILURE() << "the dialog opened";
    } catch (const Exception& error) {
      EXPECT_EQ(error.what(), "The settings file '" + path + "' could not be read: " + reason);
    }
  };
  const auto filesInFolder = [] {
    return std::distance(fs::directory_iterator(VelmoraFolderPath()), {});
  };

  WriteFile("eMtbNW=6508\r\n");
  fs::permissions(path, fs::perms::none);
  {
    const testing::WithoutOverridingPermissions unprivileged;
    startFails("Permission denied");
  }
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FileText(), "eMtbNW=6508\r\n");
  EXPECT_EQ(filesInFolder(), 1) << "no temporary file is left";

  // A socket in the file's place, as one kind of file that is not a regular one.
  fs::remove(path);
  const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  startFails("it is not a regular file");
  ::close(socketFd);
  EXPECT_EQ(fs::status(path).type(), fs::file_type::socket);
  EXPECT_EQ(filesInFolder(), 1);

  fs::remove(path);
  fs::create_directory(path);
  startFails("it is a folder");
  EXPECT_TRUE(fs::is_directory(path));
  fs::remove(path);
}

// The dialog being created: the one top-level wizard there is.
const TdlgMTBWizard& DialogBeingCreated() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (const auto* wizard = qobject_cast<const TdlgMTBWizard*>(widget)) return *wizard;
  }
  throw std::logic_error("no dialog");
}

// What of the start-up has happened: the stored extent in the controls, the
// lists, the cell list, the picture.
std::string Progress(const TdlgMTBWizard& wizard) {
  return "extent " + wizard.eMtbNw.text().toStdString() + "-" + wizard.eMtbSe.text().toStdString() +
         ", lists " + std::to_string(wizard.clbTaxonGroups.Count()) + "/" +
         std::to_string(wizard.ClbSurveys.Count()) + ", " +
         std::to_string(wizard.Map.Grids.size()) + " cell rows, " +
         (wizard.Image1.Picture().isNull() ? "no picture" : "a picture");
}

// Notes what the dialog asks of its connector, with how far its start-up had
// come at the opening and whether a settings file existed; opens the host
// fixture's database unless told to refuse.
class RecordingConnector final : public DatabaseConnector {
 public:
  RecordingConnector(std::vector<std::string>& calls, std::string connectionString)
      : calls_(calls), connectionString_(std::move(connectionString)) {}
  ~RecordingConnector() override { calls_.push_back("released"); }

  void OpenDatabaseSession() override {
    Note("open at " + Progress(DialogBeingCreated()));
    if (connectionString_.empty()) throw SilentAbort();
    session_.Open(connectionString_);
  }
  void CloseDatabaseSession() noexcept override {
    Note("close");
    session_.Close();
  }
  DatabaseSession& Session() const override { return session_; }

 private:
  void Note(const std::string& call) {
    calls_.push_back(call + (fs::exists(SettingsFilePath()) ? " with a settings file" : ""));
  }

  std::vector<std::string>& calls_;
  std::string connectionString_;
  mutable DatabaseSession session_;
};

TEST_F(WizardLifecycle, StartUpRunsItsStepsInOrderAndTearDownClosesBeforeWriting) {
  const testing::TempFolder folder;
  QImage background(400, 300, QImage::Format_RGB32);
  background.fill(Qt::green);
  const std::string bmp = testing::SaveBmp(background, folder, "karte.bmp");
  WriteFile("eMtbNW=6508\neMtbSE=6609\nrgGridSystem=1\nrgGridType=1\neBackgroundImage=" + bmp +
            "\n");
  testing::HostFixture host;
  host.AddTaxonGroup("G1", "Farne", 1);

  std::vector<std::string> calls;
  auto wizard = CreateWizard(std::make_unique<RecordingConnector>(calls, host.ConnectionString()));
  EXPECT_EQ(calls, std::vector<std::string>{"open at extent 6508-6609, lists 0/0, 0 cell rows, "
                                            "no picture with a settings file"})
      << "the settings are read before the session opens, and nothing else is done";
  EXPECT_EQ(Progress(*wizard), "extent 6508-6609, lists 1/1, 4 cell rows, a picture");
  EXPECT_EQ(wizard->Map.Grids[3][3].Code, "6609/4");
  EXPECT_FALSE(wizard->rgGridType.IsItemEnabled(4)) << "grid types of the stored grid system";
  EXPECT_EQ(wizard->Image1.Picture().size(), QSize(400 + 100, 300 + 100));
  EXPECT_EQ(wizard->pcWizard.currentIndex(), 0);
  EXPECT_TRUE(wizard->btCountDatabase.isEnabled());
  EXPECT_TRUE(wizard->btDrawMap.isEnabled());
  EXPECT_TRUE(wizard->btSaveMap.isEnabled());
  for (const auto& row : wizard->Map.Grids) {
    for (const TGrid& cell : row) EXPECT_EQ(cell.Count, "0") << "nothing is counted at start";
  }

  calls.clear();
  DestroyWizard(std::move(wizard));
  EXPECT_EQ(calls, (std::vector<std::string>{"close with a settings file", "released"}));
}

TEST_F(WizardLifecycle, AFailedStartClosesTheSessionWritesTheSettingsReadSoFarAndReleases) {
  const std::string written =
      "eMtbNW=6508\r\neMtbSE=6609\r\nrgGridSystem=0\r\nrgGridType=4\r\n"
      "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
      "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n";
  WriteFile("eMtbNW=6508\neMtbSE=6609\nrgGridType=4\n");
  std::vector<std::string> calls;
  EXPECT_THROW(CreateWizard(std::make_unique<RecordingConnector>(calls, "")), SilentAbort);
  EXPECT_EQ(calls, (std::vector<std::string>{"open at extent 6508-6609, lists 0/0, 0 cell rows, "
                                             "no picture with a settings file",
                                             "close with a settings file", "released"}));
  EXPECT_EQ(FileText(), written);

  // A list that cannot be read, after the session has opened.
  testing::HostFixture host;
  host.Session().ExecuteNoRecords("DROP TABLE SURVEY");
  calls.clear();
  fs::remove(SettingsFilePath());
  WriteFile("eMtbNW=6508\neMtbSE=6609\nrgGridType=4\n");
  EXPECT_THROW(CreateWizard(std::make_unique<RecordingConnector>(calls, host.ConnectionString())),
               DatabaseError);
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1], "close with a settings file");
  EXPECT_EQ(FileText(), written);

  // A settings value that is no number stops the start before the session.
  calls.clear();
  WriteFile("rgGridSystem=abc\n");
  EXPECT_THROW(CreateWizard(std::make_unique<RecordingConnector>(calls, "")), ConvertError);
  EXPECT_EQ(calls, (std::vector<std::string>{"close with a settings file", "released"}));
}

// A grid type that the stored grid system does not offer falls back to the
// whole sheet before the cell list is built, as velmora-map's does: the radio
// group, the cell list and a count agree, and a start that fails writes the
// pair fallen back.
TEST_F(WizardLifecycle, AStoredGridTypeTheGridSystemDoesNotOfferFallsBackBeforeTheCellList) {
  LoadGeodeticLibrary();
  testing::HostFixture host;
  host.AddTaxonGroup("G1", "Farne", 1);
  host.AddTaxon("T1", "G1");
  host.AddTaxon("T2", "G1");
  const testing::Point west = testing::MinuteFieldCentre(65, 8, 0, 0);
  const testing::Point east = testing::MinuteFieldCentre(65, 8, 5, 9);
  host.AddSample("S1", west.latitude, west.longitude);
  host.AddSample("S2", east.latitude, east.longitude);
  host.AddRecord("S1", "T1");
  host.AddRecord("S2", "T2");

  const struct {
    int gridSystem;
    int gridType;
  } unoffered[] = {{0, 2}, {0, 3}, {1, 4}};
  for (const auto& pair : unoffered) {
    const std::string stored =
        "eMtbNW=6508\neMtbSE=6609\nrgGridSystem=" + std::to_string(pair.gridSystem) +
        "\nrgGridType=" + std::to_string(pair.gridType) + "\n";
    SCOPED_TRACE(stored);
    WriteFile(stored);
    auto wizard =
        CreateWizard(std::make_unique<testing::SessionConnector>(host.ConnectionString()));
    EXPECT_EQ(wizard->rgGridType.ItemIndex(), 0) << "Messtischblatt";
    EXPECT_EQ(wizard->Map.CellsPerSheet, 1);
    ASSERT_EQ(wizard->Map.Grids.size(), 2u);
    EXPECT_EQ(wizard->Map.Grids[0][0].Code, "6508");
    EXPECT_EQ(wizard->Map.Grids[1][1].Code, "6609");
    wizard->btAllTaxonGroups.click();
    wizard->BtAllSurveys.click();
    wizard->btCountDatabase.click();
    EXPECT_EQ(wizard->Map.Grids[0][0].Count, "2") << "both samples in their sheet";
    DestroyWizard(std::move(wizard));
    EXPECT_NE(FileText().find("rgGridType=0\r\n"), std::string::npos) << FileText();

    std::vector<std::string> calls;
    WriteFile(stored);
    EXPECT_THROW(CreateWizard(std::make_unique<RecordingConnector>(calls, "")), SilentAbort);
    EXPECT_NE(FileText().find("rgGridType=0\r\n"), std::string::npos)
        << "a failed start writes no such pair";
  }
}

}  // namespace
}  // namespace velmora
