#include "wizard/wizard_settings.h"

#include <algorithm>
#include <optional>

#include "grid/extent.h"
#include "grid/grid_types.h"
#include "platform/color_text.h"
#include "platform/integer_text.h"

namespace velmora {
namespace {

enum Entry {
  kNorthWest,
  kSouthEast,
  kGridSystem,
  kGridType,
  kBackgroundImage,
  kFontSizeMargins,
  kFontSizeCells,
  kMarginLabelColor,
  kCellValueColor,
};

class EntryReader {
 public:
  explicit EntryReader(const SettingsFile& file) : file_(file) {}

  void Text(Entry entry, std::string& target) const {
    if (const std::optional<std::string> value = Value(entry)) target = *value;
  }
  void ItemIndex(Entry entry, int itemCount, int& target) const {
    if (const std::optional<std::string> value = Value(entry)) {
      target = ClampItemIndex(ParseInteger(*value), itemCount);
    }
  }
  void Color(Entry entry, TColor& target) const {
    if (const std::optional<std::string> value = Value(entry)) target = StringToColor(*value);
  }

 private:
  std::optional<std::string> Value(Entry entry) const { return file_.Value(kSettingsKeys[entry]); }

  const SettingsFile& file_;
};

}  // namespace

int ClampItemIndex(int index, int itemCount) { return std::clamp(index, -1, itemCount - 1); }

void ResetInvalidExtent(WizardSettings& settings) {
  if (IsExtentValid(settings.northWest, settings.southEast)) return;
  settings.northWest = kFallbackNorthWest;
  settings.southEast = kFallbackSouthEast;
}

void ApplySettingsFile(const SettingsFile& file, WizardSettings& settings) {
  const EntryReader read(file);
  settings.encoding = file.Encoding();
  read.Text(kNorthWest, settings.northWest);
  read.Text(kSouthEast, settings.southEast);
  read.ItemIndex(kGridSystem, static_cast<int>(kGridSystems.size()), settings.gridSystemItem);
  read.ItemIndex(kGridType, static_cast<int>(kGridTypes.size()), settings.gridTypeItem);
  // Built for a grid type its grid system does not offer, the cell list would
  // hold other cells than the radio group shows, and a count would put the
  // samples of the one grid into the cells of the other.
  settings.gridTypeItem = OfferedGridTypeItem(settings.gridSystemItem, settings.gridTypeItem);
  read.Text(kBackgroundImage, settings.backgroundImage);
  read.Text(kFontSizeMargins, settings.fontSizeMargins);
  read.Text(kFontSizeCells, settings.fontSizeCells);
  read.Color(kMarginLabelColor, settings.marginLabelColor);
  read.Color(kCellValueColor, settings.cellValueColor);
  ResetInvalidExtent(settings);
}

std::vector<SettingsLine> SettingsLines(const WizardSettings& settings) {
  const auto line = [](Entry entry, std::string value) {
    return SettingsLine{std::string(kSettingsKeys[entry]), std::move(value)};
  };
  return {
      line(kNorthWest, settings.northWest),
      line(kSouthEast, settings.southEast),
      line(kGridSystem, std::to_string(settings.gridSystemItem)),
      line(kGridType, std::to_string(settings.gridTypeItem)),
      line(kBackgroundImage, settings.backgroundImage),
      line(kFontSizeMargins, settings.fontSizeMargins),
      line(kFontSizeCells, settings.fontSizeCells),
      line(kMarginLabelColor, ColorToString(settings.marginLabelColor)),
      line(kCellValueColor, ColorToString(settings.cellValueColor)),
  };
}

void LoadSettings(WizardSettings& settings) {
  CreateSettingsFolder();
  if (const std::optional<SettingsFile> file = SettingsFile::Load(SettingsFilePath())) {
    ApplySettingsFile(*file, settings);
  }
}

void SaveSettings(const WizardSettings& settings) {
  WriteSettingsFile(SettingsFilePath(), SettingsLines(settings), settings.encoding);
}

}  // namespace velmora
