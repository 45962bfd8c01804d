// Zoom, pan and reset of the map with real pointer events, the export, and the
// choosers of the settings page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QListWidget>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <locale>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "picture_compare.h"
#include "platform/message_box.h"
#include "support/file_bytes.h"
#include "support/file_permissions.h"
#include "support/temp_folder.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

constexpr int kMapPage = 0;
constexpr int kSettingsPage = 1;

// Answers the dialog's file and colour questions as the test says, and notes
// what was asked.
class ScriptedDialogs final : public CommonDialogs {
 public:
  std::optional<QString> ChooseFile(QWidget&, const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    return fileAnswer;
  }
  std::optional<QColor> ChooseColor(QWidget&) override {
    ++colorRequests;
    return colorAnswer;
  }

  std::optional<QString> fileAnswer;
  std::optional<QColor> colorAnswer;
  std::vector<FileDialogRequest> fileRequests;
  int colorRequests = 0;
};

// A dialog showing a map picture of 1251 x 1250 (a background of 1001 x 1000
// for 2 x 2 sheets and margins of 250) at (0, 0) in the scroll box.
class WizardView : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove(SettingsFilePath());
    QImage background(1001, 1000, QImage::Format_RGB32);
    background.fill(QColor(40, 160, 60));
    const std::string bmp = testing::SaveBmp(background, folder, "karte.bmp");
    fs::create_directories(VelmoraFolderPath());
    testing::WriteFileBytes(SettingsFilePath(),
                            "eMtbNW=6508\neMtbSE=6609\neBackgroundImage=" + bmp + "\n");
    wizard = CreateWizard();
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    wizard->Dialogs = std::move(scripted);
    wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    ASSERT_EQ(wizard->Image1.geometry(), QRect(0, 0, 1251, 1250));
  }

  QWindow* Window() const { return wizard->windowHandle(); }

  // A point of a control in the window's coordinates.
  QPoint InWindow(const QWidget& control, QPoint point) const {
    return control.mapTo(wizard.get(), point);
  }

  // One notch of the wheel over a control, delivered to the window as the
  // platform delivers it, so that Qt picks the control under the pointer.
  void Wheel(const QWidget& control, QPoint point, int delta) {
    const QPoint position = InWindow(control, point);
    QWheelEvent event(position, wizard->mapToGlobal(position), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Window(), &event);
  }

  void WheelOverScrollBox(int x, int y, int delta) {
    Wheel(wizard->ScrollBox1.Client(), {x, y}, delta);
  }

  void ClickTab(int page) {
    QTabBar& bar = *wizard->pcWizard.tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(page).center());
  }

  QRect Bounds() const { return wizard->Image1.geometry(); }

  testing::TempFolder folder;
  RecordingMessageSink messages;
  std::unique_ptr<TdlgMTBWizard> wizard;
  ScriptedDialogs* dialogs = nullptr;
};

TEST_F(WizardView, TheWheelZoomsAboutThePointer) {
  WheelOverScrollBox(100, 50, 120);
  EXPECT_EQ(Bounds(), QRect(-10, -5, 1376, 1375));

  wizard->Image1.setGeometry(0, 0, 1251, 1250);
  WheelOverScrollBox(100, 50, -120);
  EXPECT_EQ(Bounds(), QRect(10, 5, 1126, 1125));

  // The size of a step does not matter, and zooming out ends at 4 pixels.
  wizard->Image1.setGeometry(0, 0, 10, 10);
  std::vector<int> widths;
  for (int i = 0; i < 7; ++i) {
    WheelOverScrollBox(0, 0, -1);
    widths.push_back(Bounds().width());
  }
  EXPECT_EQ(widths, (std::vector<int>{9, 8, 7, 6, 5, 4, 4}));
}

// Where the pointer at `pointer` (scroll box coordinates) lies on the picture,
// in the picture's own pixels.
QPointF OnPicture(const QRect& bounds, QPoint pointer, QSize picture) {
  return {(pointer.x() - bounds.left()) * double(picture.width()) / bounds.width(),
          (pointer.y() - bounds.top()) * double(picture.height()) / bounds.height()};
}

// Zoomed and panned first, the picture is still scaled about the point under
// the pointer: it neither drifts away while zooming in nor walks out of the
// box while zooming out.
TEST_F(WizardView, FromAZoomedAndPannedStateTheWheelKeepsThePointUnderThePointer) {
  const QSize picture = wizard->Image1.Picture().size();
  WheelOverScrollBox(100, 50, 120);
  const QPoint grabbed = InWindow(wizard->Image1, {400, 300});
  QTest::mousePress(Window(), Qt::LeftButton, {}, grabbed);
  QTest::mouseMove(Window(), grabbed + QPoint(-250, -180));
  QTest::mouseRelease(Window(), Qt::LeftButton, {}, grabbed + QPoint(-250, -180));
  ASSERT_EQ(Bounds(), QRect(-260, -185, 1376, 1375));

  // Each step shows the point of the picture that was under the pointer
  // within a pixel of it, its rounding aside.
  const QPoint pointer(500, 300);
  const QPointF start = OnPicture(Bounds(), pointer, picture);
  for (const int delta : {120, -120}) {
    for (int step = 0; step < 10; ++step) {
      const QPointF under = OnPicture(Bounds(), pointer, picture);
      WheelOverScrollBox(pointer.x(), pointer.y(), delta);
      const QRect now = Bounds();
      const QPointF shown(now.left() + under.x() * now.width() / picture.width(),
                          now.top() + under.y() * now.height() / picture.height());
      EXPECT_NEAR(shown.x(), pointer.x(), 1.0) << "delta " << delta << ", step " << step;
      EXPECT_NEAR(shown.y(), pointer.y(), 1.0) << "delta " << delta << ", step " << step;
    }
  }
  // Ten steps in and ten out: back under the pointer within the roundings of
  // the steps, where scaling about the box's corner moves it further at every step.
  const QPointF end = OnPicture(Bounds(), pointer, picture);
  EXPECT_NEAR(end.x(), start.x(), 4.0);
  EXPECT_NEAR(end.y(), start.y(), 4.0);
}

TEST_F(WizardView, ZoomingInStopsAt64TimesThePicture) {
  for (int i = 0; i < 200; ++i) WheelOverScrollBox(350, 300, 120);
  EXPECT_LE(Bounds().width(), 64 * 1251);
  EXPECT_GT(Bounds().width(), 64 * 1251 * 10 / 11);
  EXPECT_LE(Bounds().height(), 64 * 1250);
}

TEST_F(WizardView, EveryControlsWheelZoomsTheMapAndNothingScrolls) {
  QScrollBar& boxBar = *wizard->ScrollBox1.verticalScrollBar();
  ASSERT_GT(boxBar.maximum(), 0) << "the picture reaches beyond the scroll box";
  WheelOverScrollBox(100, 50, -120);
  EXPECT_EQ(boxBar.value(), 0) << "the scroll box does not scroll";
  EXPECT_EQ(Bounds(), QRect(10, 5, 1126, 1125));

  ClickTab(kSettingsPage);
  for (int i = 0; i < 40; ++i) wizard->clbTaxonGroups.AddItem(QString::number(i), {"K"});
  QCoreApplication::processEvents();  // the list lays its items out
  QScrollBar& listBar = *wizard->clbTaxonGroups.verticalScrollBar();
  ASSERT_GT(listBar.maximum(), 0);
  const QWidget* const controls[] = {wizard->clbTaxonGroups.viewport(), &wizard->eFontSizeCells,
                                     wizard->pcWizard.tabBar(), &wizard->BtAllSurveys};
  for (const QWidget* control : controls) {
    wizard->Image1.setGeometry(0, 0, 1251, 1250);
    Wheel(*control, {5, 5}, -120);
    EXPECT_EQ(Bounds().size(), QSize(1126, 1125)) << control->metaObject()->className();
  }
  EXPECT_EQ(listBar.value(), 0) << "the list does not scroll";
  EXPECT_EQ(wizard->pcWizard.currentIndex(), kSettingsPage) << "the wheel turns no page";
}

TEST_F(WizardView, DraggingMovesThePictureWithThePointerUntilAButtonIsReleased) {
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    const QRect before = Bounds();
    const QPoint grabbed = InWindow(wizard->Image1, {300, 200});
    QTest::mousePress(Window(), button, {}, grabbed);
    EXPECT_TRUE(wizard->Dragging);
    EXPECT_EQ(wizard->DragOrigin, QPoint(300, 200));
    QTest::mouseMove(Window(), grabbed + QPoint(30, -20));
    EXPECT_EQ(Bounds(), before.translated(30, -20));
    // Past the edge of the scroll box and over other controls, the picture follows.
    QTest::mouseMove(Window(), grabbed + QPoint(410, 300));
    EXPECT_EQ(Bounds(), before.translated(410, 300));
    QTest::mouseRelease(Window(), button, {}, grabbed + QPoint(410, 300));
    EXPECT_FALSE(wizard->Dragging);
    EXPECT_FALSE(wizard->Image1.testAttribute(Qt::WA_TransparentForMouseEvents));
    QTest::mouseMove(Window(), grabbed);
    EXPECT_EQ(Bounds(), before.translated(410, 300)) << "a move after the release drags nothing";
    wizard->Image1.setGeometry(0, 0, 1251, 1250);
  }
}

TEST_F(WizardView, ADoubleClickGoesBackHomeAndItsSecondPressBeginsNoDrag) {
  WheelOverScrollBox(100, 50, 120);
  WheelOverScrollBox(100, 50, 120);
  wizard->Image1.move(-300, -200);
  QTest::mouseDClick(Window(), Qt::LeftButton, {}, InWindow(wizard->Image1, {400, 300}));
  EXPECT_EQ(Bounds(), wizard->HomeBounds);
  EXPECT_EQ(Bounds(), QRect(0, 0, 1251, 1250));

  // The second press with the button still down: the pointer moves, the picture stays.
  const QPoint at = InWindow(wizard->Image1, {400, 300});
  const ulong time = 1'000'000;
  const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons, QPoint where, ulong t) {
    qt_handleMouseEvent(Window(), where, wizard->mapToGlobal(where), buttons, Qt::LeftButton, type,
                        Qt::NoModifier, static_cast<int>(t));
  };
  send(QEvent::MouseButtonPress, Qt::LeftButton, at, time);
  send(QEvent::MouseButtonRelease, Qt::NoButton, at, time + 10);
  send(QEvent::MouseButtonPress, Qt::LeftButton, at, time + 20);
  EXPECT_FALSE(wizard->Dragging);
  send(QEvent::MouseMove, Qt::LeftButton, at + QPoint(40, 40), time + 30);
  EXPECT_EQ(Bounds(), QRect(0, 0, 1251, 1250));
  send(QEvent::MouseButtonRelease, Qt::NoButton, at + QPoint(40, 40), time + 40);
}

TEST_F(WizardView, TheExportAsksWhereAndWritesThePictureAtItsOwnSize) {
  WheelOverScrollBox(100, 50, 120);
  dialogs->fileAnswer = QString::fromStdString(folder.PathOf("karte"));
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);

  ASSERT_EQ(dialogs->fileRequests.size(), 1u);
  const FileDialogRequest& asked = dialogs->fileRequests[0];
  EXPECT_EQ(asked.purpose, FileDialogRequest::Purpose::Save);
  EXPECT_EQ(asked.title, "Speichern");
  EXPECT_EQ(asked.folder, QDir::currentPath());
  EXPECT_EQ(asked.filter, "Bild Dateien (*.jpg)");
  EXPECT_EQ(asked.defaultSuffix, "jpg");

  QImageReader reader(QString::fromStdString(folder.PathOf("karte.jpg")));
  EXPECT_EQ(reader.format(), "jpeg");
  const QImage written = reader.read();
  EXPECT_EQ(written.size(), QSize(1251, 1250)) << "not the zoomed size";
  EXPECT_FALSE(written.isGrayscale());
  const std::string bytes = testing::ReadFileBytes(folder.PathOf("karte.jpg"));
  EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos) << "baseline";
  EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos) << "not progressive";

  // A name with another extension gets ".jpg" added: JPEG under a picture's
  // name would pass for that kind of picture.
  dialogs->fileAnswer = QString::fromStdString(folder.PathOf("export.png"));
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  EXPECT_EQ(QImageReader(QString::fromStdString(folder.PathOf("export.png.jpg"))).format(), "jpeg");
  EXPECT_FALSE(fs::exists(folder.PathOf("export.png")));
  EXPECT_TRUE(messages.Shown().empty());

  // Cancelled: nothing is written.
  dialogs->fileAnswer.reset();
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 3);

  // The background the map is drawn from is an input, never an export's
  // target, under any name the export may write to.
  const std::string link = folder.PathOf("karte-link.jpg");
  fs::create_symlink(folder.PathOf("karte.bmp"), link);
  dialogs->fileAnswer = QString::fromStdString(link);
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Die Karte kann nicht über ihr "
                                                       "Hintergrundbild '" +
                                                       link + "' exportiert werden."});
  EXPECT_EQ(QImageReader(QString::fromStdString(folder.PathOf("karte.bmp"))).format(), "bmp");

  // Another background named on the settings page, not drawn yet: the one the
  // picture came from and the one the next drawing reads are both kept.
  QImage other(20, 20, QImage::Format_RGB32);
  other.fill(Qt::blue);
  const std::string otherBmp = testing::SaveBmp(other, folder, "neu.jpg");
  ClickTab(kSettingsPage);
  wizard->eBackgroundImage.setText(QString::fromStdString(otherBmp));
  ClickTab(kMapPage);
  for (const std::string& background : {link, otherBmp}) {
    messages.Clear();
    dialogs->fileAnswer = QString::fromStdString(background);
    QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
    EXPECT_EQ(messages.Shown().size(), 1u) << background;
    EXPECT_EQ(QImageReader(QString::fromStdString(background)).format(), "bmp");
  }
}

TEST_F(WizardView, AnExportWithoutAPictureIsRefusedAndWritesNoFile) {
  ClickTab(kSettingsPage);
  wizard->eBackgroundImage.setText(QString::fromStdString(folder.PathOf("fehlt.bmp")));
  ClickTab(kMapPage);
  QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
  ASSERT_TRUE(wizard->Image1.Picture().isNull());

  dialogs->fileAnswer = QString::fromStdString(folder.PathOf("leer.jpg"));
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Es gibt keine Karte zum Exportieren: Es "
                                                       "ist kein Hintergrundbild geladen."});
  EXPECT_EQ(messages.Shown()[0].icon, MessageIcon::Error);
  EXPECT_TRUE(dialogs->fileRequests.empty()) << "no name is asked for";
  EXPECT_FALSE(fs::exists(folder.PathOf("leer.jpg")));
}

TEST_F(WizardView, AnExportThatFailsLeavesTheOldFileAndNothingBesideIt) {
  const fs::path locked = folder.Path() / "gesperrt";
  fs::create_directories(locked);
  testing::WriteFileBytes(locked / "karte.jpg", "old map");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  dialogs->fileAnswer = QString::fromStdString((locked / "karte.jpg").string());
  {
    const testing::WithoutOverridingPermissions unprivileged;
    QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  }
  fs::permissions(locked, fs::perms::owner_all);
  // The message is the dialog's, in its language, the system's cause too.
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Die Datei '" + (locked / "karte.jpg").string() +
                                     "' konnte nicht geschrieben werden: Keine "
                                     "Berechtigung."});
  EXPECT_EQ(testing::ReadFileBytes(locked / "karte.jpg"), "old map");
  EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);

  const fs::path missing = folder.Path() / "fehlt" / "karte.jpg";
  dialogs->fileAnswer = QString::fromStdString(missing.string());
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  EXPECT_EQ(messages.Texts().back(), "Die Datei '" + missing.string() +
                                         "' konnte nicht geschrieben werden: Datei oder "
                                         "Verzeichnis nicht gefunden.");
}

// The settings file's ExportWorldFile=1 puts the world file and the
// coordinate system beside the export, placing the sheets 6508 to 6609 (7° to
// 7°20' east, 49.5° to 49.3° north) on the map area's pixel edges inside the
// margins of 250; the entry survives the settings' rewrite.
TEST_F(WizardView, TheWorldFileSettingPutsTheExportWhereItsSheetsLie) {
  testing::WriteFileBytes(SettingsFilePath(),
                          testing::ReadFileBytes(SettingsFilePath()) + "ExportWorldFile=1\n");
  wizard->ReadSettings();
  dialogs->fileAnswer = QString::fromStdString(folder.PathOf("karte.jpg"));
  QTest::mouseClick(&wizard->btSaveMap, Qt::LeftButton);
  ASSERT_TRUE(messages.Shown().empty()) << messages.Shown()[0].text;
  std::istringstream world(testing::ReadFileBytes(folder.PathOf("karte.jgw")));
  double a, d, b, e, c, f;
  world.imbue(std::locale::classic());
  world >> a >> d >> b >> e >> c >> f;
  EXPECT_EQ(d, 0);
  EXPECT_EQ(b, 0);
  // Pixel edge x lies at longitude c + (x - 0.5) a, edge y at latitude f + (y - 0.5) e.
  EXPECT_NEAR(c + 249.5 * a, 7.0, 1e-9);
  EXPECT_NEAR(c + (250 + 1001 - 0.5) * a, 7 + 20.0 / 60, 1e-9);
  EXPECT_NEAR(f + 249.5 * e, 49.5, 1e-9);
  EXPECT_NEAR(f + (250 + 1000 - 0.5) * e, 49.3, 1e-9);
  EXPECT_NE(testing::ReadFileBytes(folder.PathOf("karte.jpg.aux.xml")).find("EPSG\",\"4314"),
            std::string::npos);
  wizard->WriteSettings();
  EXPECT_NE(testing::ReadFileBytes(SettingsFilePath()).find("\r\nExportWorldFile=1\r\n"),
            std::string::npos);
}

TEST_F(WizardView, TheBackgroundChooserSetsOnlyThePath) {
  const QImage before = wizard->Image1.Picture();
  dialogs->fileAnswer = "/karten/neu.bmp";
  QTest::mouseClick(&wizard->btGetImagePath, Qt::LeftButton);
  ASSERT_EQ(dialogs->fileRequests.size(), 1u);
  const FileDialogRequest& asked = dialogs->fileRequests[0];
  EXPECT_EQ(asked.purpose, FileDialogRequest::Purpose::Open);
  EXPECT_EQ(asked.title, "") << "the platform's own title";
  EXPECT_EQ(asked.folder, QDir::currentPath());
  EXPECT_EQ(asked.filter, "Bitmap-Bilder (bmp) (*.bmp)");
  EXPECT_EQ(wizard->eBackgroundImage.text(), "/karten/neu.bmp");
  EXPECT_EQ(wizard->Image1.Picture(), before) << "nothing is loaded now";

  dialogs->fileAnswer.reset();
  QTest::mouseClick(&wizard->btGetImagePath, Qt::LeftButton);
  EXPECT_EQ(wizard->eBackgroundImage.text(), "/karten/neu.bmp") << "cancel changes nothing";
}

TEST_F(WizardView, AChosenColourFillsItsShapeAndReachesTheMapAtTheNextDrawing) {
  const QImage before = wizard->Image1.Picture();
  dialogs->colorAnswer = QColor(255, 128, 0);
  QTest::mouseClick(&wizard->btGetColorRbsr, Qt::LeftButton);
  EXPECT_EQ(wizard->ShpRBsrColor.BrushColor(), 0x000080FFu);
  EXPECT_EQ(wizard->shpCellValueColor.BrushColor(), clBlack);
  EXPECT_EQ(wizard->Image1.Picture(), before) << "nothing is redrawn";
  dialogs->colorAnswer = QColor(0, 0, 255);
  QTest::mouseClick(&wizard->btGetCellValueColor, Qt::LeftButton);
  EXPECT_EQ(wizard->shpCellValueColor.BrushColor(), 0x00FF0000u);
  EXPECT_EQ(dialogs->colorRequests, 2);

  dialogs->colorAnswer.reset();
  QTest::mouseClick(&wizard->btGetColorRbsr, Qt::LeftButton);
  EXPECT_EQ(wizard->ShpRBsrColor.BrushColor(), 0x000080FFu) << "cancel changes nothing";

  QTest::mouseClick(&wizard->btDrawMap, Qt::LeftButton);
  EXPECT_GT(testing::PixelsOfColor(wizard->Image1.Picture(), QColor(255, 128, 0),
                                   wizard->Image1.Picture().rect()),
            0)
      << "the margin labels in the chosen colour";
}

}  // namespace
}  // namespace velmora
