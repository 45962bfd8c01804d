#pragma once

#include <QFont>
#include <string_view>

namespace velmora {

// The size in points that a font size field gives: its text read as an
// integer, or `fallbackPoints` when it is not one (empty, for instance).
int FontPointsOf(std::string_view sizeText, int fallbackPoints);

// The character height in pixels of a font of `points` at `pixelsPerInch`:
// points x pixels per inch / 72, a half rounded up. The sign of the size is
// ignored, and the height is kept between 1 and kMaxFontPixels.
int FontPixelsOf(int points, int pixelsPerInch);

// Larger text would only cost time: it is already far larger than any map.
inline constexpr int kMaxFontPixels = 16384;

// The logical resolution of the display (96 without a screen).
int DisplayPixelsPerInch();

// The map's font ("Tahoma") at `points`, sized for the display.
QFont MapFont(int points);

}  // namespace velmora
