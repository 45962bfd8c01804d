// velmora-wizard: the wizard dialog on the host's database, opened as the host
// opens it, to try it by hand or to run its main job from a script. See
// options.h for the command line.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "addin/host_database.h"
#include "cli/program_help.h"
#include "grid/geodll32.h"
#include "host/application_settings.h"
#include "map/fonts.h"
#include "map/picture_encoding.h"
#include "platform/replace_file.h"
#include "platform/ui/qt_message_box.h"
#include "velmora-wizard/export_answer.h"
#include "velmora-wizard/options.h"
#include "velmora-wizard/unattended_messages.h"
#include "wizard/error_display.h"
#include "wizard/lifecycle.h"

namespace {

using velmora::TdlgMTBWizard;
using velmora::cli::WizardOptions;

constexpr const char* kProgram = "velmora-wizard";

// Turns to the page as the user would, so the picture shows the buttons and
// anything else the page change sets as they are then. The picture is encoded
// whole, then replaces its file in one checked step, as every picture does.
void SavePage(TdlgMTBWizard& wizard, int page, const std::filesystem::path& file) {
  wizard.pcWizard.RequestPage(page);
  QApplication::processEvents();
  velmora::ReplaceFile(file, velmora::EncodePicture(wizard.grab().toImage(), "PNG"));
}

void Screenshots(TdlgMTBWizard& wizard, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  wizard.show();
  SavePage(wizard, 0, folder / "karte.png");
  SavePage(wizard, 1, folder / "einstellungen.png");
}

// The steps of a script, each as the user would click it; the first that
// shows a message ends the run.
bool RunUnattended(TdlgMTBWizard& wizard, const WizardOptions& options,
                   const velmora::cli::UnattendedMessages& messages) {
  if (options.count) {
    wizard.btAllTaxonGroups.click();
    wizard.BtAllSurveys.click();
    wizard.btCountDatabase.click();
    if (messages.AnyShown()) return false;
  }
  if (options.exportFile) {
    wizard.Dialogs = std::make_unique<velmora::cli::ExportAnswer>(*options.exportFile);
    wizard.btSaveMap.click();
    if (messages.AnyShown()) return false;
  }
  if (options.screenshotFolder) Screenshots(wizard, *options.screenshotFolder);
  return true;
}

// The host's side (its settings class, offered in this process), the module's
// loading (the geodetic library) and the dialog's life from start-up to
// tear-down. False when something failed; the failure has been shown.
bool Run(const WizardOptions& options, const velmora::cli::UnattendedMessages* unattended) {
  try {
    velmora::LoadGeodeticLibrary();
    if (unattended && unattended->AnyShown()) return false;
    const velmora::host::ApplicationSettingsClass hostSettings(
        options.connectionString.value_or(velmora::host::HostConnectionString()));
    auto wizard = velmora::CreateWizard(std::make_unique<velmora::HostDatabase>());
    bool done = true;
    if (unattended) {
      done = RunUnattended(*wizard, options, *unattended);
    } else {
      wizard->exec();
    }
    velmora::DestroyWizard(std::move(wizard));
    return done;
  } catch (const std::exception& error) {
    velmora::ShowErrorMessage(error);
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The options are read before Qt starts, so that --help and a mistake need
  // no display.
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  WizardOptions options;
  const auto read = [&] {
    options = velmora::cli::ParseWizardOptions(args);
    return 0;
  };
  if (const int status = velmora::cli::RunReportingErrors(kProgram, read); status != 0) {
    return status;
  }
  if (options.help)
    return velmora::cli::PrintHelp(kProgram, velmora::cli::kWizardUsage,
                                   velmora::cli::kWizardDescription);

  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  velmora::RegisterFonts();
  std::optional<velmora::cli::UnattendedMessages> unattended;
  if (options.Unattended()) {
    unattended.emplace(kProgram);
  } else {
    velmora::InstallQtMessageBoxes();
  }
  const bool done = Run(options, unattended ? &*unattended : nullptr);
  return done && !(unattended && unattended->AnyShown()) ? 0 : 1;
}
