// velmora-map: draws the map picture of an extent from the command line.
#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

#include "command_errors.h"
#include "map/fonts.h"
#include "map_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: velmora-map draw --nw NW --se SE --bmp BMP --out PNG [--font-size N] [--color C]\n"
    "                        [--counts FILE --type GRIDTYPE [--cell-font-size N] [--cell-color "
    "C]]\n"
    "       velmora-map background --nw NW --se SE --out BMP [--sheet-size PIXELS]\n"
    "NW and SE are sheet numbers such as 0901 or W5099; C is a colour name such as clRed\n"
    "or $00BBGGRR; FILE holds CODE<TAB>COUNT lines as velmora-count count prints them.\n";

constexpr velmora::cli::Command kCommands[] = {
    {"draw", velmora::cli::RunDraw},
    {"background", velmora::cli::RunBackground},
};

// Qt complains on standard error when the session has no runtime folder, which
// a batch job often lacks and this program never uses.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // No window: the picture is drawn off screen, at the display's 96 pixels per inch.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Past a file-size limit a write then fails with "File too large", which is
  // reported, instead of the signal ending the program with a temporary left.
  std::signal(SIGXFSZ, SIG_IGN);
  qInstallMessageHandler(QuietMessages);
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  velmora::RegisterFonts();

  const std::vector<std::string_view> args(argv + 2, argv + argc);
  return velmora::cli::RunNamedCommand("velmora-map", kCommands, kUsage, argv[1], args);
}
