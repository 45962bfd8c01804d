#include "wizard/wizard_settings.h"

#include <algorithm>
#include <cctype>
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
  kTaxonGroups,
  kSurveys,
};

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// A key as one item of a list: no "," of its own, and no line break.
std::string EscapedKey(std::string_view key) {
  std::string escaped;
  for (const char c : key) {
    if (c == '%' || c == ',' || c == '\r' || c == '\n') {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHexDigits[byte >> 4];
      escaped += kHexDigits[byte & 0xF];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string KeyListText(const std::vector<std::string>& keys) {
  std::string text;
  for (size_t i = 0; i < keys.size(); ++i) text += (i == 0 ? "" : ",") + EscapedKey(keys[i]);
  return text;
}

int HexValue(char c) {
  const size_t at = kHexDigits.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// A "%" without two hexadecimal digits after it stands for itself.
std::vector<std::string> KeysOfText(std::string_view text) {
  std::vector<std::string> keys;
  if (text.empty()) return keys;
  keys.emplace_back();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',') {
      keys.emplace_back();
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      keys.back() += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      keys.back() += text[i];
    }
  }
  return keys;
}

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
  void Keys(Entry entry, TickedKeys& target) const {
    if (const std::optional<std::string> value = Value(entry)) target = KeysOfText(*value);
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
  read.Keys(kTaxonGroups, settings.taxonGroups);
  read.Keys(kSurveys, settings.surveys);
  if (const std::optional<std::string> worldFile = file.Value(kWorldFileKey)) {
    settings.exportWorldFile = *worldFile == "1";
  }
  ResetInvalidExtent(settings);
}

std::vector<SettingsLine> SettingsLines(const WizardSettings& settings) {
  const auto line = [](Entry entry, std::string value) {
    return SettingsLine{std::string(kSettingsKeys[entry]), std::move(value)};
  };
  std::vector<SettingsLine> lines = {
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
  if (settings.taxonGroups) lines.push_back(line(kTaxonGroups, KeyListText(*settings.taxonGroups)));
  if (settings.surveys) lines.push_back(line(kSurveys, KeyListText(*settings.surveys)));
  if (settings.exportWorldFile) lines.push_back({std::string(kWorldFileKey), "1"});
  return lines;
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
