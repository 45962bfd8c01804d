#include "host/host_start.h"

#include <QCoreApplication>
#include <optional>

#include "demo/background_bmp.h"
#include "demo/demo_database.h"
#include "grid/grid_types.h"
#include "host/application_settings.h"
#include "host_interfaces/host_registry.h"
#include "platform/com/registry.h"
#include "wizard/settings_file.h"
#include "wizard/wizard_settings.h"

namespace velmora::host {
namespace {

using com::Registry;

// Writes the value unless the registry holds it already, so that a start
// that changes nothing does not rewrite the file.
void WriteHostValue(const char* name, const std::string& value) {
  if (Registry::Load(com::RegistryFilePath()).Value(kHostSettingsKey, name) == value) return;
  com::UpdateRegistry(
      [&](Registry& registry) { registry.SetValue(kHostSettingsKey, name, value); });
}

// Without them the wizard would open on the whole range of sheets and no
// background, and the demo's background, in a hidden folder, would take
// searching for and its extent knowing.
void WriteDemoWizardSettingsIfMissing(const demo::DemoOptions& options,
                                      const std::filesystem::path& background) {
  if (std::filesystem::exists(SettingsFilePath())) return;
  WizardSettings settings;
  settings.northWest = options.extent.NorthWest().Number();
  settings.southEast = options.extent.SouthEast().Number();
  settings.gridTypeItem = GridTypeByName("Quadranten")->item;
  settings.backgroundImage = background.string();
  CreateSettingsFolder();
  SaveSettings(settings);
}

}  // namespace

std::filesystem::path AddinFolder() {
  const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
  return (program / VELMORA_ADDIN_FOLDER_FROM_PROGRAM).lexically_normal();
}

void WriteAddinPath(const std::filesystem::path& folder) {
  WriteHostValue(kAddinPathValue, folder.string());
}

void WriteHostConnectionString(const std::string& connectionString) {
  WriteHostValue(kConnectionStringValue, connectionString);
}

bool WriteDemoDatabaseIfMissing(const std::filesystem::path& database) {
  if (std::filesystem::exists(database)) return false;
  std::filesystem::create_directories(database.parent_path());
  const demo::DemoOptions options;
  // The database last: it marks the pair complete.
  std::filesystem::path background = database;
  background.replace_filename("demo.bmp");
  demo::WriteBackgroundBmp(background, options.extent, options.seed);
  demo::WriteDemoDatabase(database, options);
  WriteDemoWizardSettingsIfMissing(options, background);
  return true;
}

}  // namespace velmora::host
