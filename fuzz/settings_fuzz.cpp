// The settings file as the user may have edited it. Whatever reads without a
// conversion error must be written and read back as the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/errors.h"
#include "wizard/settings_file.h"
#include "wizard/wizard_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const SettingsFile file =
      SettingsFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  WizardSettings settings;
  try {
    ApplySettingsFile(file, settings);
  } catch (const ConvertError&) {
    return 0;
  }
  WizardSettings again;
  ApplySettingsFile(
      SettingsFile::Parse(ComposeSettings(SettingsLines(settings), settings.encoding)), again);
  // The characters survive; the file may have become UTF-8 (all ASCII, or
  // characters Latin-1 has not).
  again.encoding = settings.encoding;
  if (again != settings) std::abort();
  return 0;
}
