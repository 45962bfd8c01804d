// Opens the wizard dialog without a host database, to try it by hand:
//   velmora-wizard                 shows the dialog until its window is closed
//                                  (with the user's settings file, as the host
//                                  would: read at start, written at the end)
//   velmora-wizard --screenshot DIR  writes karte.png and einstellungen.png of
//                                   the two pages to DIR and ends
#include <QApplication>
#include <QDir>
#include <QString>
#include <QStringList>
#include <cstdio>

#include "map/fonts.h"
#include "platform/ui/qt_message_box.h"
#include "wizard/error_display.h"
#include "wizard/lifecycle.h"

namespace {

// Turns to the page as the user would, so the picture shows the buttons and
// anything else the page change sets as they are then.
bool SavePage(velmora::TdlgMTBWizard& wizard, int page, const QString& path) {
  wizard.pcWizard.RequestPage(page);
  QApplication::processEvents();
  if (wizard.grab().save(path)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

int Screenshots(velmora::TdlgMTBWizard& wizard, const QString& folder) {
  wizard.show();
  const QDir dir(folder);
  const bool saved = SavePage(wizard, 0, dir.filePath("karte.png")) &&
                     SavePage(wizard, 1, dir.filePath("einstellungen.png"));
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = QApplication::arguments();
  const bool screenshot = arguments.size() == 3 && arguments[1] == "--screenshot";
  if (arguments.size() != 1 && !screenshot) {
    std::fprintf(stderr, "usage: velmora-wizard [--screenshot DIR]\n");
    return 2;
  }
  velmora::RegisterFonts();
  velmora::InstallQtMessageBoxes();
  try {
    auto wizard = velmora::CreateWizard();
    int status = 0;
    if (screenshot) {
      status = Screenshots(*wizard, arguments[2]);
    } else {
      wizard->exec();
    }
    velmora::DestroyWizard(std::move(wizard));
    return status;
  } catch (const std::exception& error) {
    velmora::ShowErrorMessage(error);
    return 1;
  }
}
