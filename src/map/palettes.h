#pragma once

#include <QColor>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

// A sequential palette for counts: its colours run from light (few) to dark
// (many), so that more reads as darker on screen and in grey print.
struct Palette {
  std::string_view name;
  // The colours of 3 to 9 classes, as the palette's authors published them
  // (ColorBrewer); the first is the 3-class table. Empty for a palette that is
  // a continuous ramp instead.
  std::span<const std::string_view> tables;
  // The ramp the classes are taken from, evenly, when there are no tables or
  // more classes than they have: hexadecimal RRGGBB, the light end first
  // unless `rampDarkFirst` (a ramp kept as its source gives it).
  std::string_view ramp;
  bool rampDarkFirst = false;
};

// The palettes the maps offer; the first is the default.
std::span<const Palette> Palettes();

// The palette of that name (as Palettes() spells it, in any case); nothing
// when there is none.
const Palette* PaletteByName(std::string_view name);

// The colours of `classes` classes (1 to 12), lightest first: the published
// table of that size where there is one, else colours taken evenly along the
// palette's ramp from its light to its dark end.
std::vector<QColor> ClassColors(const Palette& palette, int classes);

}  // namespace velmora
