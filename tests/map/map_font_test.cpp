#include "map/map_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <cstdint>

#include "map/fonts.h"
#include "map/qcolor_conversion.h"
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

TEST(RoundHalfEven, AQuotientRoundsExactlyWhereADoubleWouldMissTheHalf) {
  const struct {
    std::int64_t numerator, denominator, rounded;
  } cases[] = {{45, 2, 22}, {47, 2, 24},    {-1, 2, 0},     {-3, 2, -2},   {-5, 2, -2},
               {7, 3, 2},   {8, 3, 3},      {-7, 3, -2},    {-8, 3, -3},   {6, 3, 2},
               {0, 5, 0},   {2961, 6, 494}, {2963, 6, 494}, {2965, 6, 494}};
  for (const auto& c : cases) {
    EXPECT_EQ(RoundHalfEven(c.numerator, c.denominator), c.rounded)
        << c.numerator << "/" << c.denominator;
  }
}

TEST(CentredInPart, ExactWhereDoublesMissTheHalf) {
  // 100 pixels in 7 parts, a text of 15 in part 3: 3 x 100 / 7 + 100 / 14 - 7.5
  // is 42.5 in real numbers, which gives 42; in doubles it is
  // 42.50000000000001, which gives 43.
  const double part = 100.0 / 7;
  ASSERT_EQ(RoundHalfEven(3 * part + part / 2 - 15 / 2.0), 43);
  EXPECT_EQ(CentredInPart(3, 100, 7, 15), 42);
  // 104 in 12 parts, 15 in part 10: 83.5 exactly, 83.49999999999999 in doubles.
  EXPECT_EQ(CentredInPart(10, 104, 12, 15), 84);
  // The example of cells of 100 x 100 with a text of 14 x 16.
  EXPECT_EQ(CentredInPart(0, 1000, 10, 14), 43);
  EXPECT_EQ(CentredInPart(3, 1000, 10, 14), 343);
  EXPECT_EQ(CentredInPart(2, 600, 6, 16), 242);
  EXPECT_EQ(CentredInPart(11, 1200, 12, 0), 1150);
  // A text wider than its part starts before it.
  EXPECT_EQ(CentredInPart(0, 100, 10, 30), -10);
}

TEST(PartStart, ExactHalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(PartStart(1, 1001, 2), 500);
  EXPECT_EQ(PartStart(2, 1001, 2), 1001);
  EXPECT_EQ(PartStart(1, 1003, 2), 502);
  EXPECT_EQ(PartStart(1, 1000, 3), 333);
  EXPECT_EQ(PartStart(2, 1000, 3), 667);
  EXPECT_EQ(PartStart(0, 1000, 3), 0);
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
