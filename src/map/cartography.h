#pragma once

#include <optional>
#include <string>

#include "map/color_classes.h"
#include "map/palettes.h"

namespace velmora {

// How the values of a map's cells are written: at the value font size (as the
// dialog does), not at all, or at the largest size up to it at which they fit
// their cells (FitValues).
enum class CellValues { On, Off, Fit };

// Fills cover this much of the background by default: it still reads through,
// and the lightest class still shows over a light landscape.
inline constexpr int kDefaultFillOpacity = 65;

// What a map shows beyond the dialog's picture: its counted cells filled by
// class, values that fit, a legend below it and a title above it. By default
// nothing of it, which is the dialog's picture.
struct Cartography {
  std::optional<ClassRule> classes{};
  // Nothing: the first of Palettes().
  const Palette* palette = nullptr;
  // How much of the background the fills cover, in percent.
  int fillOpacity = kDefaultFillOpacity;
  CellValues values = CellValues::On;
  bool legend = false;
  std::string title{};

  const Palette& PaletteOrDefault() const { return palette ? *palette : Palettes().front(); }
};

}  // namespace velmora
