// The platform's file and colour dialogs as the wizard asks for them, answered
// through their own controls; and the wheel hook.
#include "platform/ui/common_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>

#include "platform/ui/wheel_hook.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

// Runs `answer` on the modal dialog that `ask` opens; a dialog still open
// after that (a question nobody expected) is turned down, so that a fault
// fails the test instead of hanging it.
template <typename Dialog, typename Result>
Result Answer(const std::function<Result()>& ask, const std::function<void(Dialog&)>& answer) {
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
    QTimer::singleShot(500, [] {
      while (QWidget* open = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "an unexpected question: " << open->metaObject()->className();
        open->close();
      }
    });
  });
  return ask();
}

class PlatformDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  }

  QWidget owner;
  std::unique_ptr<CommonDialogs> dialogs = velmora::PlatformDialogs();
  testing::TempFolder folder;
};

TEST_F(PlatformDialogs, SavingAsksAsRequestedAddsTheSuffixAndReplacesWithoutAQuestion) {
  testing::WriteFileBytes(folder.Path() / "karte.jpg", "old");
  const QString start = QString::fromStdString(folder.Path().string());
  const auto chosen = Answer<QFileDialog, std::optional<QString>>(
      [&] {
        return dialogs->ChooseFile(owner, {FileDialogRequest::Purpose::Save, "Speichern", start,
                                           "Bild Dateien (*.jpg)", "jpg"});
      },
      [&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Speichern");
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.directory().absolutePath(), start);
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Bild Dateien (*.jpg)"});
        EXPECT_TRUE(dialog.testOption(QFileDialog::HideNameFilterDetails));
        EXPECT_EQ(dialog.defaultSuffix(), "jpg");
        dialog.selectFile("karte");
        QMetaObject::invokeMethod(&dialog, "accept");
      });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, QString::fromStdString((folder.Path() / "karte.jpg").string()));
}

TEST_F(PlatformDialogs, OpeningTakesOnlyAnExistingFileAndCancelGivesNothing) {
  const auto cancelled = Answer<QFileDialog, std::optional<QString>>(
      [&] {
        return dialogs->ChooseFile(owner, {FileDialogRequest::Purpose::Open, QString(),
                                           QString::fromStdString(folder.Path().string()),
                                           "Bitmap-Bilder (bmp) (*.bmp)", QString()});
      },
      [](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        EXPECT_FALSE(dialog.windowTitle().isEmpty()) << "the platform's own title";
        dialog.reject();
      });
  EXPECT_FALSE(cancelled.has_value());
}

TEST_F(PlatformDialogs, TheColourDialogStartsFromItsOwnColour) {
  const auto chosen = Answer<QColorDialog, std::optional<QColor>>(
      [&] { return dialogs->ChooseColor(owner); },
      [](QColorDialog& dialog) {
        EXPECT_EQ(dialog.currentColor(), QColor(Qt::white));
        dialog.setCurrentColor(QColor(10, 20, 30));
        dialog.accept();
      });
  EXPECT_EQ(chosen, QColor(10, 20, 30));
  const auto cancelled = Answer<QColorDialog, std::optional<QColor>>(
      [&] { return dialogs->ChooseColor(owner); }, [](QColorDialog& dialog) { dialog.reject(); });
  EXPECT_FALSE(cancelled.has_value());
}

// One notch of the wheel over a widget, as the platform delivers it to its window.
void Wheel(QWidget& widget, int delta) {
  const QPoint position = widget.mapTo(widget.window(), QPoint(5, 5));
  QWheelEvent event(position, widget.window()->mapToGlobal(position), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget.window()->windowHandle(), &event);
}

TEST(WheelHook, TakesTheWheelOfItsOwnWindowAlone) {
  QWidget hooked, other;
  QListWidget hookedList(&hooked), otherList(&other);
  for (QListWidget* list : {&hookedList, &otherList}) {
    list->resize(100, 60);
    for (int i = 0; i < 50; ++i) list->addItem(QString::number(i));
    list->window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
  }
  std::vector<int> deltas;
  const WheelHook hook(hooked, [&](int delta, QPoint) { deltas.push_back(delta); });

  Wheel(*hookedList.viewport(), -120);
  Wheel(hooked, 240);
  EXPECT_EQ(deltas, (std::vector<int>{-120, 240}));
  EXPECT_EQ(hookedList.verticalScrollBar()->value(), 0);

  Wheel(*otherList.viewport(), -120);
  EXPECT_EQ(deltas.size(), 2u);
  EXPECT_GT(otherList.verticalScrollBar()->value(), 0) << "another window scrolls as ever";
}

}  // namespace
}  // namespace velmora
