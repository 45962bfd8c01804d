#include "map/qcolor_conversion.h"

#include <array>

namespace velmora {
namespace {

// The system colours of the default Windows scheme (as 0xRRGGBB), by index;
// index 25 is unused.
constexpr std::array<unsigned, 31> kSystemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

}  // namespace

QColor ToQColor(TColor color) {
  if ((color & 0xFF000000) == kSystemColorFlag) {
    const unsigned index = color & 0xFF;
    return QColor::fromRgb(index < kSystemColors.size() ? kSystemColors[index] : 0);
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

TColor ToTColor(const QColor& color) {
  return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
         static_cast<TColor>(color.blue()) << 16;
}

}  // namespace velmora
