#pragma once

namespace velmora {

// The families the program asks for: the map's labels and values, the dialog's
// text, and the "no background" notice.
inline constexpr const char* kMapFontFamily = "Tahoma";
inline constexpr const char* kDialogFontFamily = "MS Sans Serif";
inline constexpr const char* kNoticeFontFamily = "Arial";
// Titles and headings of a map's legend, in bold: the free Tahoma's bold is
// hardly heavier than its regular.
inline constexpr const char* kHeadingFontFamily = "Arial";

// Makes the three families resolve to free fonts of the same names or metrics:
// Tahoma and MS Sans Serif from Wine's fonts, Arial as Liberation Sans. A family
// whose files are missing falls back to the system's sans font. Needs a
// QGuiApplication; call it once after creating it.
void RegisterFonts();

}  // namespace velmora
