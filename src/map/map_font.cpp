#include "map/map_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "map/fonts.h"
#include "map/rounding.h"
#include "platform/integer_text.h"

namespace velmora {

int FontPointsOf(std::string_view sizeText, int fallbackPoints) {
  return TryParseInteger(sizeText).value_or(fallbackPoints);
}

int FontPixelsOf(int points, int pixelsPerInch) {
  const std::int64_t scaled = std::abs(static_cast<std::int64_t>(points)) * pixelsPerInch;
  const std::int64_t pixels = (scaled + 36) / 72;
  return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxFontPixels));
}

int DisplayPixelsPerInch() {
  const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  return screen != nullptr ? RoundHalfEven(screen->logicalDotsPerInchY()) : 96;
}

QFont MapFont(int points) {
  QFont font(kMapFontFamily);
  font.setPixelSize(FontPixelsOf(points, DisplayPixelsPerInch()));
  return font;
}

}  // namespace velmora
