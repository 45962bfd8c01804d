#include "velmora-map/map_settings.h"

#include "cli/command_errors.h"
#include "wizard/settings_file.h"

namespace velmora::cli {

std::string MapSettings::Source() const {
  return "the settings file '" + (file ? file->string() : SettingsFilePath()) + "'";
}

MapSettings ReadMapSettings(const std::optional<std::string>& given) {
  MapSettings settings;
  const std::string path = given.value_or(SettingsFilePath());
  std::optional<SettingsFile> file;
  try {
    file = SettingsFile::Load(path);
  } catch (const UnreadableSettingsFile& e) {
    throw UsageError(e.what());
  }
  if (!file) {
    if (given) throw UsageError("the settings file '" + path + "' does not exist");
    return settings;
  }
  try {
    ApplySettingsFile(*file, settings.values);
  } catch (const ConvertError& e) {
    throw UsageError("the settings file '" + path + "': " + e.what());
  }
  settings.file = path;
  return settings;
}

}  // namespace velmora::cli
