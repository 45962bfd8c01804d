#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "wizard/wizard_settings.h"

namespace velmora::cli {

// The dialog's stored settings, where a map made from the command line starts
// from: the file given with --settings, which must be there; else the dialog's
// own settings file when there is one; else the dialog's design-time values.
// The file is read as the dialog reads it, an extent that is not valid
// replaced by the whole grid's. A file that cannot be read or holds a value
// the dialog would refuse is a UsageError naming it.
struct MapSettings {
  WizardSettings values;
  std::optional<std::filesystem::path> file;  // where they came from

  // "the settings file 'PATH'", for messages about a value from there.
  std::string Source() const;
};

MapSettings ReadMapSettings(const std::optional<std::string>& given);

}  // namespace velmora::cli
