// velmora-host: the stand-in for Recorder 6. It offers its settings class to
// the add-ins, enters its add-in folder in the registry, loads the installed
// add-ins and shows their entries in its menus.
//   velmora-host [--db PATH | --connect TEXT] [--install-addin MODULE] [--list-addins]
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "cli/command_errors.h"
#include "cli/program_help.h"
#include "host/addins.h"
#include "host/application_settings.h"
#include "host/host_start.h"
#include "host/host_window.h"
#include "host/options.h"
#include "platform/db/connection_string.h"
#include "platform/message_box.h"
#include "platform/ui/qt_message_box.h"

namespace {

using namespace velmora::host;

constexpr const char* kProgram = "velmora-host";

void PrintAddins(const std::vector<Addin>& addins) {
  for (const Addin& addin : addins) {
    std::printf("%s\n", addin.name.c_str());
    const std::string& text = addin.failure.empty() ? addin.description : addin.failure;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      std::printf("  %s\n", text.substr(start, end - start).c_str());
    }
    std::printf("  %s\n", text.substr(start).c_str());
  }
}

// Offscreen and minimal platforms draw windows that nobody sees, and a
// listing has none: a message box there would wait for a click that never
// comes.
bool UserSeesWindows() {
  const QString platform = QGuiApplication::platformName();
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
         platform != "offscreen" && platform != "minimal";
}

int Run(const HostOptions& options, bool windows) {
  WriteAddinPath(AddinFolder());
  if (options.connectionString) WriteHostConnectionString(*options.connectionString);
  if (options.module) {
    try {
      InstallAddin(*options.module);
    } catch (const std::exception& error) {
      // Where the user sees the host's window, it opens after the message.
      if (!UserSeesWindows()) throw;
      velmora::ShowMessageBox({error.what(), "Recorder 6", velmora::MessageIcon::Error});
    }
  }
  const std::string connectionString = HostConnectionString();
  if (connectionString == velmora::SqliteConnectionString(DemoDatabasePath())) {
    WriteDemoDatabaseIfMissing(DemoDatabasePath());
  }
  const ApplicationSettingsClass settings(connectionString);
  if (!windows) {
    PrintAddins(LoadInstalledAddins());
    return 0;
  }
  HostWindow window(connectionString, AddinFolder());
  window.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  HostOptions options;
  if (const int status = velmora::cli::RunReportingErrors(
          kProgram,
          [&] {
            options = ParseHostOptions(args);
            return 0;
          },
          kHostUsage);
      status != 0) {
    return status;
  }
  if (options.help) return velmora::cli::PrintHelp(kProgram, kHostUsage, kHostHelp);
  // Listing needs no window, nor a display: it reports as the command lines
  // do, its printed list checked among the rest, and so does a host whose
  // windows nobody sees.
  if (options.listAddins) {
    const QCoreApplication application(argc, argv);
    return velmora::cli::RunReportingErrors(kProgram, [&] { return Run(options, false); });
  }
  const QApplication application(argc, argv);
  if (!UserSeesWindows()) {
    return velmora::cli::RunReportingErrors(kProgram, [&] { return Run(options, true); });
  }
  velmora::InstallQtMessageBoxes();
  try {
    return Run(options, true);
  } catch (const std::exception& error) {
    velmora::ShowMessageBox({error.what(), "Recorder 6", velmora::MessageIcon::Error});
    return 1;
  }
}
