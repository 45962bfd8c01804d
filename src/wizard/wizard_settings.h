#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tcolor.h"
#include "wizard/settings_file.h"

namespace velmora {

// The keys of the settings file, in the order in which they are written and
// read: the names of the controls whose state they keep. The first nine are
// the settings page's; the last two keep the ticks of its two lists, so that
// a count after reopening counts what was chosen before.
inline constexpr std::array<std::string_view, 11> kSettingsKeys = {
    "eMtbNW",           "eMtbSE",         "rgGridSystem", "rgGridType",        "eBackgroundImage",
    "eFontSizeMargins", "eFontSizeCells", "shpRBsrColor", "shpCellValueColor", "clbTaxonGroups",
    "ClbSurveys",
};

// The keys of the ticked items of a list, in list order; nothing stands for
// every item ticked, as on the first start.
using TickedKeys = std::optional<std::vector<std::string>>;

// The one entry that no control keeps: "ExportWorldFile=1" makes "Karte
// exportieren" also write the world file and the coordinate system beside the
// JPEG, so that a GIS places it. Off by default, so that the export is the
// dialog's own; written back only when on, so that the file otherwise stays
// as it was.
inline constexpr std::string_view kWorldFileKey = "ExportWorldFile";

// What the settings page keeps between two uses. A default-constructed value
// holds the controls' design-time state. Item indexes are -1 when no item is
// selected.
struct WizardSettings {
  std::string northWest = "0901";      // eMtbNw
  std::string southEast = "8756";      // eMtbSe
  int gridSystemItem = 0;              // rgGridSystem
  int gridTypeItem = 0;                // rgGridType
  std::string backgroundImage;         // eBackgroundImage
  std::string fontSizeMargins = "18";  // eFontSizeMargins
  std::string fontSizeCells = "10";    // eFontSizeCells
  TColor marginLabelColor = clBlack;   // ShpRBsrColor
  TColor cellValueColor = clBlack;     // shpCellValueColor
  TickedKeys taxonGroups;              // clbTaxonGroups
  TickedKeys surveys;                  // ClbSurveys
  // The character set of the file the settings came from, to write them in.
  SettingsEncoding encoding = SettingsEncoding::Utf8;
  bool exportWorldFile = false;  // kWorldFileKey

  bool operator==(const WizardSettings&) const = default;
};

// The sheet numbers that replace an extent that is not valid.
inline constexpr std::string_view kFallbackNorthWest = "0901";
inline constexpr std::string_view kFallbackSouthEast = "8758";

// An index below -1 becomes -1 (nothing selected), one beyond the last item
// the last item.
int ClampItemIndex(int index, int itemCount);

// Puts kFallbackNorthWest/kFallbackSouthEast in place of an extent that fails
// IsExtentValid.
void ResetInvalidExtent(WizardSettings& settings);

// Takes over, entry by entry in the keys' order, every entry the file has (a
// grid type that the grid system does not offer falls back to the whole sheet
// as soon as both are read) and the world file's entry (on when it is "1"),
// then resets an invalid extent. A radio group or colour entry that cannot be
// converted raises ConvertError; the entries before it have then been taken
// over, it and the later ones not, and the extent is not checked.
void ApplySettingsFile(const SettingsFile& file, WizardSettings& settings);

// The lines of the file, in the keys' order: the nine of the settings page,
// then the ticked keys of each list where the settings hold them, then the
// world file's entry when it is on. The keys of a list are separated by ",";
// "%", "," and the line breaks within a key are written as %25, %2C, %0D and
// %0A.
std::vector<SettingsLine> SettingsLines(const WizardSettings& settings);

// What the dialog's ReadSettings does: creates the settings folder, and when
// the settings file exists applies it to `settings` (errors as in
// ApplySettingsFile; `settings` then holds the entries taken over so far).
// The dialog gathers its controls into a WizardSettings, calls this and puts
// the result back into the controls, also when it raises (before passing the
// error on), so that the entries before a faulty one reach their controls.
void LoadSettings(WizardSettings& settings);

// What the dialog's WriteSettings does: replaces the settings file with its
// lines, atomically, in the character set of the file they came from. Raises an Exception when
// the file cannot be written.
void SaveSettings(const WizardSettings& settings);

}  // namespace velmora
