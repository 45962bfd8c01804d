#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/message_box.h"
#include "wizard/ShowImage.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

constexpr int kMapPage = 0;
constexpr int kSettingsPage = 1;

class WizardDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(SettingsFilePath());
    wizard = CreateWizard();
    wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
  }

  // A click on the page's tab, as the user changes pages.
  void ClickTab(int page) {
    QTabBar& bar = *wizard->pcWizard.tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(page).center());
  }

  int Page() const { return wizard->pcWizard.currentIndex(); }

  bool ButtonsEnabled() const {
    const bool count = wizard->btCountDatabase.isEnabled();
    EXPECT_EQ(wizard->btDrawMap.isEnabled(), count);
    EXPECT_EQ(wizard->btSaveMap.isEnabled(), count);
    return count;
  }

  RecordingMessageSink messages;
  std::unique_ptr<TdlgMTBWizard> wizard;
};

TEST_F(WizardDialog, StartsOnTheMapPageWithTheDesignTimeValues) {
  EXPECT_EQ(wizard->windowTitle(), "Velmora");
  EXPECT_EQ(Page(), kMapPage);
  EXPECT_EQ(wizard->pcWizard.tabText(0), "Karte");
  EXPECT_EQ(wizard->pcWizard.tabText(1), "Einstellungen");
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(wizard->eMtbNw.text(), "0901");
  EXPECT_EQ(wizard->eMtbSe.text(), "8756");
  EXPECT_EQ(wizard->rgGridSystem.ItemIndex(), 0);
  EXPECT_EQ(wizard->rgGridType.ItemIndex(), 0);
  EXPECT_EQ(wizard->eBackgroundImage.text(), "");
  EXPECT_EQ(wizard->eFontSizeMargins.text(), "18");
  EXPECT_EQ(wizard->eFontSizeCells.text(), "10");
  EXPECT_EQ(wizard->ShpRBsrColor.BrushColor(), 0x000000u);
  EXPECT_EQ(wizard->shpCellValueColor.BrushColor(), 0x000000u);
  EXPECT_TRUE(wizard->plProgress.isHidden());
  EXPECT_EQ(wizard->lblProgress.text(), "Dies ist ein Label");
  EXPECT_EQ(wizard->ProgressBar.maximum(), 100);
  EXPECT_EQ(wizard->clbTaxonGroups.Count(), 0);
  EXPECT_EQ(wizard->ClbSurveys.Count(), 0);
  // The start-up built the cell list of the extent on the settings page.
  EXPECT_EQ(wizard->Map.NwSheet, "E0901");
  EXPECT_EQ(wizard->Map.SeSheet, "E8756");
  EXPECT_EQ(wizard->Map.CellsPerSheet, 1);
  EXPECT_EQ(wizard->Map.GridSystemCode, "QYX");
}

TEST_F(WizardDialog, PlacesEveryControlWhereTheFormHasIt) {
  const std::pair<QWidget*, QRect> placed[] = {
      {&wizard->pcWizard, {8, 8, 745, 673}},
      {&wizard->btCountDatabase, {8, 688, 145, 25}},
      {&wizard->btDrawMap, {168, 688, 121, 25}},
      {&wizard->btSaveMap, {296, 688, 113, 25}},
      {&wizard->ScrollBox1, {17, 10, 700, 607}},
      {&wizard->plProgress, {160, 320, 385, 81}},
      {&wizard->ProgressBar, {16, 24, 350, 17}},
      {&wizard->lblProgress, {16, 56, 350, 13}},
      {&wizard->GroupBox1, {8, 8, 321, 153}},
      {&wizard->LbMtbText, {77, 64, 157, 39}},
      {&wizard->eMtbNw, {12, 28, 51, 21}},
      {&wizard->eMtbSe, {253, 119, 51, 21}},
      {&wizard->rgGridSystem, {344, 24, 153, 73}},
      {&wizard->rgGridType, {512, 24, 137, 137}},
      {&wizard->GroupBox3, {8, 176, 321, 257}},
      {&wizard->clbTaxonGroups, {8, 24, 289, 193}},
      {&wizard->GroupBox4, {344, 176, 321, 257}},
      {&wizard->ClbSurveys, {8, 24, 297, 193}},
      {&wizard->GroupBox2, {8, 448, 433, 105}},
      {&wizard->eBackgroundImage, {8, 60, 329, 21}},
      {&wizard->btGetImagePath, {344, 56, 25, 25}},
      {&wizard->eFontSizeMargins, {560, 462, 33, 21}},
      {&wizard->ShpRBsrColor, {601, 462, 25, 18}},
      {&wizard->btGetColorRbsr, {632, 462, 25, 18}},
      {&wizard->eFontSizeCells, {560, 496, 33, 21}},
      {&wizard->shpCellValueColor, {600, 496, 25, 21}},
      {&wizard->btGetCellValueColor, {632, 496, 25, 21}},
  };
  for (const auto& [control, bounds] : placed) {
    EXPECT_EQ(control->geometry(), bounds) << control->metaObject()->className();
  }
  // 775 x 759 with the window frame around it.
  EXPECT_EQ(wizard->size(), QSize(759, 721));
  EXPECT_EQ(wizard->Label1.pos(), QPoint(72, 32));
  EXPECT_EQ(wizard->Label2.pos(), QPoint(148, 122));
  EXPECT_EQ(wizard->btNoTaxonGroup.pos(), QPoint(97, 224));
  EXPECT_EQ(wizard->BtNoSurvey.pos(), QPoint(96, 224));
  EXPECT_EQ(wizard->Label4.font().pixelSize(), 40);
  // The notice keeps the form's place and box, and is never narrower than its
  // text: every letter of "Kein Hintergrundbild geladen" shows.
  EXPECT_EQ(wizard->Label4.pos(), QPoint(88, 256));
  EXPECT_GE(wizard->Label4.width(), 502);
  EXPECT_GE(wizard->Label4.height(), 45);
  EXPECT_GE(wizard->Label4.contentsRect().width(),
            QFontMetrics(wizard->Label4.font()).horizontalAdvance(wizard->Label4.text()));
  EXPECT_EQ(wizard->font().pixelSize(), 11);
}

// What the dialog gains goes to the map box and, shared, to the two lists;
// what lies below them moves down. Smaller than designed, or back at the
// design size, everything is where the form has it.
TEST_F(WizardDialog, TheMapBoxAndTheListsFollowTheDialogsSize) {
  wizard->resize(759 + 201, 721 + 100);
  const std::pair<QWidget*, QRect> grown[] = {
      {&wizard->pcWizard, {8, 8, 946, 773}},
      {&wizard->btCountDatabase, {8, 788, 145, 25}},
      {&wizard->btSaveMap, {296, 788, 113, 25}},
      {&wizard->ScrollBox1, {17, 10, 901, 707}},
      {&wizard->plProgress, {260, 370, 385, 81}},
      {&wizard->rgGridType, {512, 24, 137, 137}},
      {&wizard->GroupBox3, {8, 176, 421, 357}},
      {&wizard->clbTaxonGroups, {8, 24, 389, 293}},
      {&wizard->btNoTaxonGroup, {97, 324, 75, 25}},
      {&wizard->GroupBox4, {444, 176, 422, 357}},
      {&wizard->ClbSurveys, {8, 24, 397, 293}},
      {&wizard->BtNoSurvey, {96, 324, 75, 25}},
      {&wizard->GroupBox2, {8, 548, 533, 105}},
      {&wizard->eBackgroundImage, {8, 60, 429, 21}},
      {&wizard->btGetImagePath, {444, 56, 25, 25}},
      {&wizard->eFontSizeMargins, {660, 562, 33, 21}},
      {&wizard->btGetCellValueColor, {732, 596, 25, 21}},
  };
  for (const auto& [control, bounds] : grown) {
    EXPECT_EQ(control->geometry(), bounds) << control->metaObject()->className();
  }
  EXPECT_EQ(wizard->ScrollBox1.viewport()->size(),
            QSize(901, 707) - QSize(2, 2) * wizard->ScrollBox1.frameWidth());

  for (const QSize size : {QSize(700, 600), QSize(759, 721)}) {
    wizard->resize(size);
    EXPECT_EQ(wizard->ScrollBox1.geometry(), QRect(17, 10, 700, 607));
    EXPECT_EQ(wizard->GroupBox4.geometry(), QRect(344, 176, 321, 257));
    EXPECT_EQ(wizard->eFontSizeCells.geometry(), QRect(560, 496, 33, 21));
  }
}

TEST_F(WizardDialog, LeavingTheMapPageNeverValidatesLeavingTheSettingsPageDoes) {
  wizard->rgGridType.SetItemIndex(-1);
  wizard->eMtbNw.setText("12");

  ClickTab(kSettingsPage);
  EXPECT_EQ(Page(), kSettingsPage);
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_FALSE(ButtonsEnabled());

  ClickTab(kMapPage);
  EXPECT_EQ(Page(), kSettingsPage);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Bitte wählen Sie einen Rastertyp aus."});
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(wizard->eMtbNw.text(), "12") << "entered values stay as they are";
}

TEST_F(WizardDialog, LeavingTheSettingsPageRebuildsTheCellListWithoutRedrawing) {
  ClickTab(kSettingsPage);
  wizard->eMtbNw.setText("6508");
  wizard->eMtbSe.setText("6609");
  wizard->rgGridType.SetItemIndex(1);
  wizard->eBackgroundImage.setText("/tmp/karte.bmp");

  ClickTab(kMapPage);
  EXPECT_EQ(Page(), kMapPage);
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(wizard->Map.CellRows, 4);
  EXPECT_EQ(wizard->Map.CellColumns, 4);
  EXPECT_EQ(wizard->Map.Grids[3][3].Code, "6609/4");
  EXPECT_EQ(wizard->Map.BackgroundImagePath, "/tmp/karte.bmp");
}

TEST_F(WizardDialog, EachRefusalShowsItsMessageAndPutsTheCursorInTheNorthWestField) {
  struct Case {
    int gridType;
    const char* nw;
    const char* se;
    std::string shown;
    bool cursorInNorthWest;
  };
  const Case cases[] = {
      {-1, "0901", "8756", "Bitte wählen Sie einen Rastertyp aus.", false},
      {0, "123", "8756",
       "0 Bitte geben Sie eine gültige Nummer für das nordwestliche Messtischblatt an.", true},
      {0, "0901", "12",
       "0 Bitte geben Sie eine gültige Nummer für das südöstliche Messtischblatt an.", true},
      {0, "6508", "6408",
       "Die Nummer des südöstlichen Messtischblattes kann nicht kleiner sein als die des "
       "Nordwestlichen.",
       true},
      {0, "6508", "6607",
       "Das südöstliche Messtischblatt darf nicht westlich des nordwestlichen liegen.", true},
  };
  for (const Case& c : cases) {
    ClickTab(kSettingsPage);
    wizard->rgGridType.SetItemIndex(c.gridType);
    wizard->eMtbNw.setText(c.nw);
    wizard->eMtbSe.setText(c.se);
    wizard->eFontSizeCells.setFocus();
    messages.Clear();

    ClickTab(kMapPage);
    EXPECT_EQ(Page(), kSettingsPage) << c.shown;
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{c.shown});
    EXPECT_EQ(messages.Shown()[0].icon, MessageIcon::Error);
    EXPECT_EQ(wizard->focusWidget() == &wizard->eMtbNw, c.cursorInNorthWest) << c.shown;

    wizard->rgGridType.SetItemIndex(0);
    wizard->eMtbNw.setText("0901");
    wizard->eMtbSe.setText("8756");
    ClickTab(kMapPage);
    ASSERT_EQ(Page(), kMapPage);
  }
}

TEST_F(WizardDialog, KeyboardPageChangesAreAskedAsClicksAre) {
  ClickTab(kSettingsPage);
  wizard->eMtbSe.setText("12");
  QTest::keyClick(&wizard->pcWizard, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Page(), kSettingsPage);
  QTest::keyClick(wizard->pcWizard.tabBar(), Qt::Key_Left);
  EXPECT_EQ(Page(), kSettingsPage);
  EXPECT_EQ(messages.Shown().size(), 2u);

  wizard->eMtbSe.setText("8756");
  QTest::keyClick(wizard->pcWizard.tabBar(), Qt::Key_Left);
  EXPECT_EQ(Page(), kMapPage);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(WizardDialog, APageSwitchOfTheProgramRunsNoHandler) {
  wizard->rgGridType.SetItemIndex(-1);
  wizard->pcWizard.SetActivePageIndex(kSettingsPage);
  EXPECT_TRUE(ButtonsEnabled());
  wizard->pcWizard.SetActivePageIndex(kMapPage);
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(WizardDialog, KeyFiltersLetThroughOnlyWhatEachFieldTakes) {
  struct Case {
    QLineEdit TdlgMTBWizard::*field;
    const char* typed;
    const char* result;
  };
  const Case cases[] = {
      {&TdlgMTBWizard::eMtbNw, "WW5099", "W5099"},
      {&TdlgMTBWizard::eMtbNw, "5w0 9-9.x", "5099"},
      {&TdlgMTBWizard::eMtbNw, "50W99W", "50W99"},
      {&TdlgMTBWizard::eMtbSe, "WW5099", "WW5099"},
      {&TdlgMTBWizard::eMtbSe, "w50 99", "5099"},
      {&TdlgMTBWizard::eFontSizeMargins, "1W8 pt", "18"},
      {&TdlgMTBWizard::eFontSizeCells, "-1,0e2", "102"},
  };
  for (const Case& c : cases) {
    QLineEdit& field = (*wizard).*(c.field);
    field.clear();
    QTest::keyClicks(&field, c.typed);
    EXPECT_EQ(field.text(), c.result) << c.typed;
  }
}

TEST_F(WizardDialog, BackspaceAndCursorKeysStillEdit) {
  wizard->eMtbNw.setText("W509");
  wizard->eMtbNw.setCursorPosition(4);
  QTest::keyClick(&wizard->eMtbNw, Qt::Key_Backspace);
  EXPECT_EQ(wizard->eMtbNw.text(), "W50");
  QTest::keyClick(&wizard->eMtbNw, Qt::Key_Home);
  QTest::keyClick(&wizard->eMtbNw, Qt::Key_Delete);
  EXPECT_EQ(wizard->eMtbNw.text(), "50");
  QTest::keyClicks(&wizard->eMtbNw, "W");
  EXPECT_EQ(wizard->eMtbNw.text(), "W50") << "the W may come back once it is gone";
}

TEST_F(WizardDialog, TheGridSystemDecidesWhichGridTypesCanBeChosen) {
  struct Case {
    int gridType;
    int gridSystem;
    int selectedAfter;
    std::vector<bool> enabled;
  };
  const Case cases[] = {
      {3, 0, 0, {true, true, false, false, true}}, {2, 0, 0, {true, true, false, false, true}},
      {4, 0, 4, {true, true, false, false, true}}, {1, 1, 1, {true, true, true, true, false}},
      {4, 1, 0, {true, true, true, true, false}},  {-1, 1, -1, {true, true, true, true, false}},
  };
  for (const Case& c : cases) {
    wizard->rgGridSystem.SetItemIndex(1 - c.gridSystem);
    wizard->rgGridType.SetItemIndex(c.gridType);
    QTest::mouseClick(&wizard->rgGridSystem.Button(c.gridSystem), Qt::LeftButton);
    EXPECT_EQ(wizard->rgGridSystem.ItemIndex(), c.gridSystem);
    EXPECT_EQ(wizard->rgGridType.ItemIndex(), c.selectedAfter) << c.gridType << c.gridSystem;
    for (int item = 0; item < 5; ++item) {
      EXPECT_EQ(wizard->rgGridType.IsItemEnabled(item), c.enabled[item]) << item;
    }
  }
}

TEST_F(WizardDialog, WithoutAGridSystemNothingChanges) {
  wizard->rgGridSystem.SetItemIndex(-1);
  wizard->rgGridType.SetItemIndex(3);
  wizard->ApplyGridSystem();
  EXPECT_EQ(wizard->rgGridType.ItemIndex(), 3);
  EXPECT_FALSE(wizard->rgGridType.IsItemEnabled(3)) << "still as the start-up left it";
}

TEST_F(WizardDialog, SetProgressTextShowsTheTextAndLetsWaitingWorkRun) {
  bool ran = false;
  QTimer::singleShot(0, wizard.get(), [&ran] { ran = true; });
  wizard->SetProgressText("Stichproben werden zugeordnet");
  EXPECT_EQ(wizard->lblProgress.text(), "Stichproben werden zugeordnet");
  EXPECT_TRUE(ran);
}

// The bar may skip positions that come faster than it is repainted, but never
// the start or the end of a stage, nor a position after a pause.
TEST_F(WizardDialog, TheBarShowsEveryStartEndAndPositionAfterAPause) {
  for (const int percent : {0, 37, 61, 100}) wizard->SetProgressPosition(percent);
  EXPECT_EQ(wizard->ProgressBar.value(), 100);
  wizard->SetProgressPosition(0);
  EXPECT_EQ(wizard->ProgressBar.value(), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  wizard->SetProgressPosition(42);
  EXPECT_EQ(wizard->ProgressBar.value(), 42);
}

TEST_F(WizardDialog, AllAndNoneSetEveryItemOfTheirOwnList) {
  for (const char* key : {"K1", "K2", "K3"}) {
    wizard->clbTaxonGroups.AddItem(key, {key});
    wizard->ClbSurveys.AddItem(key, {key});
  }
  QTest::mouseClick(&wizard->btAllTaxonGroups, Qt::LeftButton);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(wizard->clbTaxonGroups.Checked(i));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(wizard->ClbSurveys.Checked(i));
  QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
  QTest::mouseClick(&wizard->btNoTaxonGroup, Qt::LeftButton);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(wizard->clbTaxonGroups.Checked(i));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(wizard->ClbSurveys.Checked(i));
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(wizard->ClbSurveys.Checked(i));
}

TEST_F(WizardDialog, TheLongGridSystemCaptionWrapsInItsGroup) {
  const QRadioButton& button = wizard->rgGridSystem.Button(1);
  EXPECT_EQ(button.text(), "Fortschreitende\nQuadrantenteilung");
  EXPECT_EQ(wizard->rgGridSystem.ItemCaption(1), "Fortschreitende Quadrantenteilung");
  EXPECT_EQ(wizard->rgGridSystem.Button(0).text(), "Minutenfelder");
}

TEST_F(WizardDialog, DrawingTheMapLoadsTheBackgroundOfTheLastCellListAndDrawsTheGrid) {
  const QTemporaryDir folder;
  const QString bmp = folder.filePath("karte.bmp");
  QImage background(1001, 1000, QImage::Format_RGB32);
  background.fill(QColor(0, 128, 0));
  ASSERT_TRUE(background.save(bmp, "BMP"));
  EXPECT_FALSE(wizard->Label4.isHidden()) << "no background at start";

  ClickTab(kSettingsPage);
  wizard->eMtbNw.setText("6508");
  wizard->eMtbSe.setText("6609");
  wizard->eBackgroundImage.setText(bmp);
  ClickTab(kMapPage);
  EXPECT_TRUE(wizard->Image1.Picture().isNull()) << "leaving the settings page draws nothing";

  QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
  EXPECT_EQ(wizard->MarginLeft, 250);
  EXPECT_EQ(wizard->MarginTop, 250);
  EXPECT_EQ(wizard->Image1.geometry(), QRect(0, 0, 1251, 1250));
  EXPECT_EQ(wizard->HomeBounds, QRect(0, 0, 1251, 1250));
  EXPECT_EQ(wizard->Image1.Picture().size(), QSize(1251, 1250));
  EXPECT_FALSE(wizard->Image1.isHidden());
  EXPECT_TRUE(wizard->Label4.isHidden());
  const QImage& picture = wizard->Image1.Picture();
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::black)) << "frame";
  EXPECT_EQ(picture.pixelColor(750, 900), QColor(160, 160, 164)) << "sheet line at 250 + 500";
  EXPECT_EQ(picture.pixelColor(600, 600), QColor(0, 128, 0)) << "background";

  ClickTab(kSettingsPage);
  wizard->eBackgroundImage.setText(folder.filePath("fehlt.bmp"));
  ClickTab(kMapPage);
  QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
  EXPECT_TRUE(wizard->Image1.Picture().isNull());
  EXPECT_TRUE(wizard->Image1.isHidden());
  EXPECT_FALSE(wizard->Label4.isHidden());
  EXPECT_EQ(wizard->MarginLeft, 250) << "a failed load keeps the margins";
  EXPECT_TRUE(messages.Shown().empty());
}

// The form has no default button: Return on the map page starts no count,
// whatever has the focus.
TEST_F(WizardDialog, ReturnClicksNoButton) {
  QSignalSpy counted(&wizard->btCountDatabase, &QPushButton::clicked);
  QSignalSpy drawn(&wizard->btDrawMap, &QPushButton::clicked);
  QSignalSpy exported(&wizard->btSaveMap, &QPushButton::clicked);
  QWidget* const focused[] = {wizard->pcWizard.tabBar(), &wizard->ScrollBox1,
                              &wizard->btCountDatabase, &wizard->btDrawMap};
  for (QWidget* widget : focused) {
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(wizard.get(), Qt::Key_Enter);
  }
  EXPECT_EQ(counted.count(), 0);
  EXPECT_EQ(drawn.count(), 0);
  EXPECT_EQ(exported.count(), 0);
  for (const QPushButton* button : wizard->findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();
  }
}

TEST_F(WizardDialog, EscapeDoesNotCloseTheDialog) {
  QTest::keyClick(wizard.get(), Qt::Key_Escape);
  EXPECT_TRUE(wizard->isVisible());
}

}  // namespace
}  // namespace velmora
