// "Datenbank auszählen" in the dialog: the counts it finds, the values it
// writes into the map picture, its progress panel and its failures.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "grid/geodll32.h"
#include "host_fixture.h"
#include "map/cell_values.h"
#include "map/map_job.h"
#include "picture_compare.h"
#include "platform/message_box.h"
#include "session_connector.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

using Counts = std::map<std::string, std::string>;

constexpr int kMapPage = 0;
constexpr int kSettingsPage = 1;

Counts CountsOf(const TGrids& grids) {
  Counts counts;
  for (const auto& row : grids) {
    for (const TGrid& cell : row) counts[cell.Code] = cell.Count;
  }
  return counts;
}

// What the settings page is set to.
struct MapSettings {
  int gridType;
  int gridSystem;
  std::string northWest;
  std::string southEast;
  std::string backgroundImage;
};

// The cells with a count, as `velmora-count count` prints them for the same
// settings and every taxon group and survey: CODE<TAB>COUNT lines.
Counts CommandCounts(const std::string& database, const MapSettings& settings) {
  const testing::CommandResult run = testing::RunCommand(
      VELMORA_COUNT_PATH, {"count", "--db", database, "--nw", settings.northWest, "--se",
                           settings.southEast, "--system", settings.gridSystem == 0 ? "QYX" : "QQQ",
                           "--type", std::to_string(settings.gridType)});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  Counts counts;
  std::istringstream lines(run.out);
  for (std::string code, count; std::getline(lines, code, '\t') && std::getline(lines, count);) {
    counts[code] = count;
  }
  return counts;
}

// The cells of the dialog's list that hold a count other than "0".
Counts CountedCells(const TGrids& grids) {
  Counts counts = CountsOf(grids);
  std::erase_if(counts, [](const auto& cell) { return cell.second == "0"; });
  return counts;
}

// A dialog on a database of the test's own, set up through its controls as a
// user sets it up: settings page, back to the map, "Karte neu zeichnen".
class WizardCount : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadGeodeticLibrary(); }

  void Open(const std::string& connectionString) {
    std::filesystem::remove(SettingsFilePath());
    wizard = CreateWizard(std::make_unique<testing::SessionConnector>(connectionString));
    wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
  }

  void ClickTab(int page) {
    QTabBar& bar = *wizard->pcWizard.tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(page).center());
  }

  void Configure(const MapSettings& settings, const std::string& fontSize = "10") {
    ClickTab(kSettingsPage);
    wizard->eMtbNw.setText(QString::fromStdString(settings.northWest));
    wizard->eMtbSe.setText(QString::fromStdString(settings.southEast));
    wizard->rgGridSystem.SetItemIndex(settings.gridSystem);
    wizard->rgGridType.SetItemIndex(settings.gridType);
    wizard->eBackgroundImage.setText(QString::fromStdString(settings.backgroundImage));
    wizard->eFontSizeCells.setText(QString::fromStdString(fontSize));
    ClickTab(kMapPage);
    ASSERT_EQ(wizard->pcWizard.currentIndex(), kMapPage);
    QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
    ASSERT_FALSE(wizard->Image1.Picture().isNull());
  }

  void CheckAll() {
    QTest::mouseClick(&wizard->btAllTaxonGroups, Qt::LeftButton);
    QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
  }

  void Count() { QTest::mouseClick(&wizard->btCountDatabase, Qt::LeftButton); }

  // The picture as it was, with the counts written in by the map's one
  // painting routine, as often as given.
  QImage WithValues(QImage picture, const TGrids& grids, int times = 1) const {
    for (int i = 0; i < times; ++i) {
      DrawCellValues(picture, grids,
                     {{wizard->MarginLeft, wizard->MarginTop},
                      wizard->Map.CellRows,
                      wizard->Map.CellColumns,
                      wizard->eFontSizeCells.text().toStdString(),
                      wizard->shpCellValueColor.BrushColor()});
    }
    return picture;
  }

  bool PanelAndButtonsAtRest() const {
    return wizard->plProgress.isHidden() && wizard->btCountDatabase.isEnabled() &&
           wizard->btDrawMap.isEnabled() && wizard->btSaveMap.isEnabled();
  }

  RecordingMessageSink messages;
  std::unique_ptr<TdlgMTBWizard> wizard;
};

TEST_F(WizardCount, GivesEveryCellOfAGeneratedDatabaseTheCountOfTheCommandLineAndDrawsIt) {
  testing::TempFolder folder;
  demo::DemoOptions options;
  options.samples = 1500;
  options.seed = 5;
  const std::string database = folder.PathOf("demo.db");
  demo::WriteDemoDatabase(database, options);
  demo::WriteBackgroundBmp(folder.Path() / "demo.bmp", options.extent, options.seed);
  Open("Provider=SQLite;Data Source=" + database);

  struct Case {
    int gridSystem;
    int gridType;
    std::string fontSize;
    TColor color;
  };
  // Minute fields of the first grid system; 16tel-Quadranten of the second,
  // with the values at half a cell width.
  const Case cases[] = {{0, 4, "10", clBlack}, {1, 3, "", 0x0000FF}};
  for (const Case& c : cases) {
    SCOPED_TRACE("grid type " + std::to_string(c.gridType));
    const MapSettings settings{c.gridType, c.gridSystem, options.extent.NorthWest().Number(),
                               options.extent.SouthEast().Number(), folder.PathOf("demo.bmp")};
    Configure(settings, c.fontSize);
    wizard->shpCellValueColor.SetBrushColor(c.color);
    CheckAll();
    const QImage before = wizard->Image1.Picture();
    Count();

    const Counts counted = CountedCells(wizard->Map.Grids);
    EXPECT_EQ(counted, CommandCounts(database, settings)) << "cell by cell";
    EXPECT_GT(counted.size(), 20u);
    EXPECT_EQ(wizard->Image1.Picture(), WithValues(before, wizard->Map.Grids))
        << "the values in the font size field (or half a cell width) and the chosen colour";
    EXPECT_NE(wizard->Image1.Picture(), before);
  }
  EXPECT_TRUE(PanelAndButtonsAtRest());
  EXPECT_TRUE(messages.Shown().empty());
}

// A host database of two taxa in 6508/1 and one in 6609/4.
class WizardCountSmall : public WizardCount {
 protected:
  void SetUp() override {
    host.AddTaxonGroup("G1", "Farne", 1);
    host.AddTaxon("T1", "G1");
    host.AddTaxon("T2", "G1");
    const testing::Point a = testing::MinuteFieldCentre(65, 8, 0, 0);
    const testing::Point b = testing::MinuteFieldCentre(66, 9, 5, 9);
    host.AddSample("S1", a.latitude, a.longitude);
    host.AddSample("S2", b.latitude, b.longitude);
    host.AddRecord("S1", "T1");
    host.AddRecord("S1", "T2");
    host.AddRecord("S2", "T2");
    QImage background(400, 300, QImage::Format_RGB32);
    background.fill(QColor(200, 220, 180));
    Open(host.ConnectionString());
    Configure({1, 0, "6508", "6609", testing::SaveBmp(background, pictures, "karte.bmp")});
  }

  testing::HostFixture host;
  testing::TempFolder pictures;
};

TEST_F(WizardCountSmall, ThePanelShowsAndTheButtonsLockWhileTheRunWorks) {
  CheckAll();
  std::vector<std::string> seen;
  QTimer::singleShot(0, wizard.get(), [&] {
    seen.push_back(wizard->lblProgress.text().toStdString());
    seen.push_back(wizard->plProgress.isVisible() ? "panel shown" : "panel hidden");
    for (QPushButton* button : {&wizard->btCountDatabase, &wizard->btDrawMap, &wizard->btSaveMap}) {
      seen.push_back(button->isEnabled() ? "enabled" : "disabled");
    }
  });
  Count();
  EXPECT_EQ(seen, (std::vector<std::string>{"Hole Aufnahmen...", "panel shown", "disabled",
                                            "disabled", "disabled"}));
  EXPECT_TRUE(PanelAndButtonsAtRest());
  EXPECT_EQ(wizard->lblProgress.text(), "Übertrage Auszählergebnisse");
  EXPECT_EQ(wizard->Map.Grids[0][0].Count, "2");
  EXPECT_EQ(wizard->Map.Grids[3][3].Count, "1");
  EXPECT_EQ(wizard->Map.Grids[0][1].Count, "0");
}

TEST_F(WizardCountSmall, ThePagesStayPutWhileTheRunWorks) {
  // Back on the map page the buttons would come back during the run, and a
  // second click would start a run inside the first on the same session;
  // leaving the settings page would rebuild the cell list the run writes into.
  CheckAll();
  std::vector<std::string> seen;
  QTimer::singleShot(0, wizard.get(), [&] {
    ClickTab(kSettingsPage);
    seen.push_back("page " + std::to_string(wizard->pcWizard.currentIndex()));
    QTest::keyClick(wizard->pcWizard.tabBar(), Qt::Key_Tab, Qt::ControlModifier);
    seen.push_back("page " + std::to_string(wizard->pcWizard.currentIndex()));
    seen.push_back(wizard->btCountDatabase.isEnabled() ? "enabled" : "disabled");
  });
  Count();
  EXPECT_EQ(seen, (std::vector<std::string>{"page 0", "page 0", "disabled"}));
  EXPECT_TRUE(PanelAndButtonsAtRest());
  EXPECT_EQ(wizard->Map.Grids[0][0].Count, "2");
  EXPECT_TRUE(messages.Shown().empty());
  ClickTab(kSettingsPage);
  EXPECT_EQ(wizard->pcWizard.currentIndex(), kSettingsPage) << "after the run the pages turn again";
}

// A run for no taxon group or no survey would find nothing: it is refused,
// in the dialog's language, and the map stays as it is.
TEST_F(WizardCountSmall, WithNoGroupOrNoSurveyTickedTheRunIsRefusedAndLeavesTheMap) {
  const QImage before = wizard->Image1.Picture();
  QTest::mouseClick(&wizard->btNoTaxonGroup, Qt::LeftButton);
  Count();
  QTest::mouseClick(&wizard->btAllTaxonGroups, Qt::LeftButton);
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  Count();
  EXPECT_EQ(
      messages.Texts(),
      (std::vector<std::string>{
          "Bitte wählen Sie auf der Seite \"Einstellungen\" mindestens eine Sippengruppe aus.",
          "Bitte wählen Sie auf der Seite \"Einstellungen\" mindestens ein Projekt aus."}));
  EXPECT_EQ(wizard->Image1.Picture(), before);
  for (const auto& [code, count] : CountsOf(wizard->Map.Grids)) EXPECT_EQ(count, "0") << code;
  EXPECT_TRUE(PanelAndButtonsAtRest());
}

TEST_F(WizardCountSmall, TheListsAreReadAtTheMomentOfTheRun) {
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  Count();
  EXPECT_EQ(wizard->Map.Grids[0][0].Count, "0") << "no survey ticked: no run";
  QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
  Count();
  EXPECT_EQ(wizard->Map.Grids[0][0].Count, "2");
}

TEST_F(WizardCountSmall, ASecondRunPrintsOverTheFirstAndRedrawingClearsThem) {
  CheckAll();
  const QImage before = wizard->Image1.Picture();
  Count();
  const QImage once = wizard->Image1.Picture();
  EXPECT_EQ(once, WithValues(before, wizard->Map.Grids));
  Count();
  EXPECT_EQ(wizard->Image1.Picture(), WithValues(before, wizard->Map.Grids, 2))
      << "the same values again in the same places, over the old ones";
  EXPECT_NE(wizard->Image1.Picture(), once) << "smoothed edges darken where text lies twice";

  QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
  EXPECT_EQ(wizard->Image1.Picture(), before);
}

// Settings that change the cell list or the background make the picture the
// map of other settings: a count then draws the map afresh, as "Karte neu
// zeichnen" does, and its values land in their own cells. A visit to the
// settings page that changes nothing leaves the picture to be printed over.
TEST_F(WizardCountSmall, ACountAfterTheMapsSettingsChangedDrawsTheMapAfreshFirst) {
  QImage other(300, 300, QImage::Format_RGB32);
  other.fill(QColor(180, 200, 230));
  const std::string otherBackground = testing::SaveBmp(other, pictures, "other.bmp");
  struct Case {
    std::string change;
    std::function<void()> make;
    int valuesWritten;
  };
  const Case cases[] = {
      {"south-east sheet",
       [&] {
         wizard->eMtbSe.selectAll();
         QTest::keyClicks(&wizard->eMtbSe, "6608");
       },
       1},
      {"grid type", [&] { QTest::mouseClick(&wizard->rgGridType.Button(0), Qt::LeftButton); }, 1},
      {"background",
       [&] {
         wizard->eBackgroundImage.selectAll();
         QTest::keyClicks(&wizard->eBackgroundImage, QString::fromStdString(otherBackground));
       },
       1},
      {"nothing", [] {}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    Configure({1, 0, "6508", "6609", pictures.PathOf("karte.bmp")});
    Count();
    ClickTab(kSettingsPage);
    c.make();
    ClickTab(kMapPage);
    ASSERT_EQ(wizard->pcWizard.currentIndex(), kMapPage);
    Count();
    const std::optional<MapPicture> fresh = DrawMapPicture(wizard->Map, wizard->Style());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(wizard->Image1.Picture(),
              WithValues(fresh->picture, wizard->Map.Grids, c.valuesWritten));
    EXPECT_EQ(wizard->MarginLeft, fresh->margins.left);
  }
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(WizardCountSmall, AFailedRunIsShownAndThenThePanelGoesAndTheButtonsComeBack) {
  CheckAll();
  host.Session().ExecuteNoRecords("DROP TABLE TAXON_DETERMINATION");
  const QImage before = wizard->Image1.Picture();
  Count();
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].icon, MessageIcon::Error);
  EXPECT_EQ(messages.Shown()[0].text, "no such table: taxon_determination.")
      << "the database's own message, through the error display";
  EXPECT_TRUE(PanelAndButtonsAtRest());
  EXPECT_EQ(wizard->Image1.Picture(), before) << "no value is drawn";
}

TEST_F(WizardCountSmall, ARunWithoutASessionIsAFailedRun) {
  wizard->Database.reset();
  CheckAll();
  Count();
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Die Verbindung zur Datenbank ist nicht geöffnet."});
  EXPECT_TRUE(PanelAndButtonsAtRest());
}

}  // namespace
}  // namespace velmora
