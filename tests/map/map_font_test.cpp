#include "map/map_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>

#include "map/color.h"
#include "map/fonts.h"
#include "map/rounding.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
  const struct {
    double value;
    int rounded;
  } cases[] = {{22.5, 22}, {23.5, 24}, {500.5, 500}, {0.5, 0},    {1.5, 2},   {-0.5, 0},
               {-1.5, -2}, {-2.5, -2}, {2.4999, 2},  {2.5001, 3}, {-2.6, -3}, {125.0, 125}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(FontPixelsOf, PointsTimesResolutionOver72HalfRoundedUp) {
  const struct {
    int points, pixelsPerInch, pixels;
  } cases[] = {{18, 96, 24},  {10, 96, 13}, {9, 96, 12},
               {3, 108, 5},   {1, 108, 2},  {7, 120, 12},
               {-18, 96, 24}, {0, 96, 1},   {2147483647, 96, kMaxFontPixels}};
  for (const auto& c : cases) {
    EXPECT_EQ(FontPixelsOf(c.points, c.pixelsPerInch), c.pixels)
        << c.points << "@" << c.pixelsPerInch;
  }
}

TEST(FontPointsOf, TheTextAsAnIntegerElseTheFallback) {
  EXPECT_EQ(FontPointsOf("18", 125), 18);
  EXPECT_EQ(FontPointsOf("", 125), 125);
  EXPECT_EQ(FontPointsOf("1 8", 125), 125);
  EXPECT_EQ(FontPointsOf("$10", 125), 16);
}

TEST(MapFont, TahomaAtTheDisplaysResolution) {
  EXPECT_EQ(DisplayPixelsPerInch(), 96);  // the offscreen display
  const QFont font = MapFont(18);
  EXPECT_EQ(font.pixelSize(), 24);
  EXPECT_EQ(QFontInfo(font).family(), "Tahoma");
  EXPECT_EQ(TextHeightOf(font, "0"), TextHeightOf(font, "88"));
  EXPECT_LT(TextWidthOf(font, "1"), TextWidthOf(font, "88"));
}

TEST(RegisterFonts, TheProgramsFamiliesResolveToTheFreeFonts) {
  EXPECT_EQ(QFontInfo(QFont(kMapFontFamily)).family(), "Tahoma");
  EXPECT_EQ(QFontInfo(QFont(kDialogFontFamily)).family(), "MS Sans Serif");
  EXPECT_EQ(QFontInfo(QFont(kNoticeFontFamily)).family(), "Liberation Sans");
}

TEST(ToQColor, PlainAndSystemColours) {
  const struct {
    TColor color;
    QColor expected;
  } cases[] = {{0x000000, QColor(0, 0, 0)},
               {0x0000FF, QColor(255, 0, 0)},
               {0x00FF8000, QColor(0, 128, 255)},
               {0xFFFFFF, QColor(255, 255, 255)},
               {0xFF00000F, QColor(0xF0, 0xF0, 0xF0)},  // clBtnFace
               {0xFF000008, QColor(0, 0, 0)},           // clWindowText
               {0x20000000, QColor(0, 0, 0)}};          // clDefault
  for (const auto& c : cases) EXPECT_EQ(ToQColor(c.color), c.expected) << std::hex << c.color;
}

}  // namespace
}  // namespace velmora
