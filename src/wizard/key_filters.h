#pragma once

namespace velmora {

// The character codes the dialog's edits see as typed; backspace is 8.
inline constexpr char16_t kBackspace = 8;

// Backspace and the digits: what a font size field takes.
bool PassesDigitKey(char16_t key);

// Backspace, the digits, and a capital "W" only while the field holds none:
// the north-west sheet field.
bool PassesNorthWestSheetKey(char16_t key, bool textHasW);

// Backspace, the digits and a capital "W" at any time: the south-east sheet
// field. A second "W" is refused later, by the sheet number check.
bool PassesSouthEastSheetKey(char16_t key);

}  // namespace velmora
