#include "map/view.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace velmora {
namespace {

constexpr int kIn = 120;    // one notch forward
constexpr int kOut = -120;  // one notch back

TEST(ZoomFactorOf, AboveZeroZoomsInAnyOtherOut) {
  EXPECT_EQ(ZoomFactorOf(1).numerator, kZoomIn.numerator);
  EXPECT_EQ(ZoomFactorOf(960).numerator, kZoomIn.numerator);
  EXPECT_EQ(ZoomFactorOf(0).numerator, kZoomOut.numerator);
  EXPECT_EQ(ZoomFactorOf(-1).numerator, kZoomOut.numerator);
  EXPECT_EQ(ZoomFactorOf(std::numeric_limits<int>::min()).numerator, kZoomOut.numerator);
}

TEST(ZoomedBounds, OneWheelStepKeepsThePointUnderThePointer) {
  const QSize picture(1251, 1250);
  const struct {
    const char* name;
    QRect bounds;
    QPoint pointer;
    int delta;
    QRect zoomed;
  } cases[] = {
      {"in at (100, 50)", {0, 0, 1251, 1250}, {100, 50}, kIn, {-10, -5, 1376, 1375}},
      {"out at (100, 50)", {0, 0, 1251, 1250}, {100, 50}, kOut, {10, 5, 1126, 1125}},
      {"a delta of 0 zooms out", {0, 0, 1251, 1250}, {100, 50}, 0, {10, 5, 1126, 1125}},
      {"the delta's size does not matter", {0, 0, 1251, 1250}, {100, 50}, 1, {-10, -5, 1376, 1375}},
      // The point under the pointer lies 650 and 560 pixels into the picture,
      // 715 and 616 after the step: the picture moves by the difference.
      {"in from a panned and zoomed state",
       {-300, 40, 2000, 1800},
       {350, 600},
       kIn,
       {-365, -16, 2200, 1980}},
      {"out from a panned and zoomed state",
       {-300, 40, 2000, 1800},
       {350, 600},
       kOut,
       {-235, 96, 1800, 1620}},
      {"pointer left of and above the scroll box",
       {0, 0, 1251, 1250},
       {-20, -10},
       kIn,
       {2, 1, 1376, 1375}},
      {"pointer on the picture's corner: only the size changes",
       {7, 9, 700, 600},
       {7, 9},
       kOut,
       {7, 9, 630, 540}},
      {"pointer at the scroll box's corner, off the picture",
       {7, 9, 700, 600},
       {0, 0},
       kOut,
       {6, 8, 630, 540}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoomedBounds(c.bounds, c.pointer, c.delta, picture), c.zoomed) << c.name;
  }
}

// The factors are the float values, not 1.1 and 0.9: where the decimal product
// would be an exact half the float product lies beside it and decides.
TEST(ZoomedBounds, ProductsUseTheSinglePrecisionFactors) {
  const QSize picture(1000, 1000);
  const struct {
    int width;
    int delta;
    int zoomed;
  } cases[] = {
      {15, kIn, 17},                         // 16.5000004 (decimal 16.5 would give 16)
      {15, kOut, 13},                        // 13.4999996 (decimal 13.5 would give 14)
      {5, kIn, 6},                           // 5.50000012
      {5, kOut, 4},                          // 4.49999988
      {700, kIn, 770},    {770, kOut, 693},  // in and out need not give the old size back
      {1250, kOut, 1125}, {1250, kIn, 1375},
  };
  for (const auto& c : cases) {
    const QRect zoomed = ZoomedBounds({0, 0, c.width, c.width}, {0, 0}, c.delta, picture);
    EXPECT_EQ(zoomed.width(), c.zoomed) << c.width << " by " << c.delta;
    EXPECT_EQ(zoomed.height(), c.zoomed) << c.width << " by " << c.delta;
  }
  // The pointer's products as well: 15 x 1.1f gives 17, 5 x 1.1f gives 6.
  EXPECT_EQ(ZoomedBounds({0, 0, 100, 100}, {15, 5}, kIn, picture).topLeft(), QPoint(-2, -1));
}

TEST(ZoomedBounds, ZoomingOutEndsAtFourPixels) {
  QRect bounds(0, 0, 10, 10);
  std::vector<int> widths;
  for (int step = 0; step < 8; ++step) {
    bounds = ZoomedBounds(bounds, {0, 0}, kOut, {1251, 1250});
    widths.push_back(bounds.width());
  }
  EXPECT_EQ(widths, (std::vector<int>{9, 8, 7, 6, 5, 4, 4, 4}));
}

TEST(ZoomedBounds, ZoomingInStopsAt64TimesThePicture) {
  const QSize picture(1251, 1250);
  QRect bounds(0, 0, 1251, 1250);
  for (int step = 0; step < 1000; ++step) bounds = ZoomedBounds(bounds, {350, 300}, kIn, picture);
  EXPECT_LE(bounds.width(), 64 * 1251);
  EXPECT_LE(bounds.height(), 64 * 1250);
  // The last step taken was the last that fitted: one more would not.
  EXPECT_TRUE(bounds.width() * 1.1 > 64 * 1251 || bounds.height() * 1.1 > 64 * 1250);
  EXPECT_GT(bounds.width() * 1.1 * 1.1, 64 * 1251);
  // Zooming out works from there as ever.
  EXPECT_LT(ZoomedBounds(bounds, {350, 300}, kOut, picture).width(), bounds.width());
}

TEST(ZoomedBounds, TheLimitHoldsForTheNarrowerSideToo) {
  // A tall, narrow picture: the height reaches its limit first.
  const QRect bounds(0, 0, 100, 64 * 3000);
  EXPECT_EQ(ZoomedBounds(bounds, {10, 10}, kIn, {100, 3000}), bounds);
}

TEST(ZoomedBounds, NoEdgeLeavesThe32BitRange) {
  // A picture so large that 64 times it is beyond 32 bits: the coordinates bound
  // the zoom before the picture does.
  const QSize picture(1 << 29, 1);
  QRect bounds(0, 0, 1 << 29, 1);
  for (int step = 0; step < 100; ++step) bounds = ZoomedBounds(bounds, {700, 600}, kIn, picture);
  EXPECT_LE(std::int64_t{bounds.left()} + bounds.width(), std::numeric_limits<int>::max());
  EXPECT_GT(bounds.width(), 1 << 30);

  const QRect farLeft(std::numeric_limits<int>::min() + 5, 0, 1000, 1000);
  EXPECT_EQ(ZoomedBounds(farLeft, {700, 0}, kIn, {1000, 1000}), farLeft);
}

TEST(ZoomedBounds, AnEmptyPictureDoesNotZoomIn) {
  // After a failed load the hidden control keeps the scroll box's size.
  const QRect bounds(0, 0, 700, 607);
  EXPECT_EQ(ZoomedBounds(bounds, {100, 50}, kIn, {0, 0}), bounds);
  EXPECT_EQ(ZoomedBounds(bounds, {100, 50}, kOut, {0, 0}), QRect(10, 5, 630, 546));
}

TEST(DraggedBounds, TheGrabbedPointStaysUnderThePointer) {
  const struct {
    const char* name;
    QRect bounds;
    QPoint pointer;
    QPoint origin;
    QRect dragged;
  } cases[] = {
      {"moved by (+30, -20)", {0, 0, 1251, 1250}, {130, 30}, {100, 50}, {30, -20, 1251, 1250}},
      {"not moved", {-40, -60, 1376, 1375}, {160, 140}, {200, 200}, {-40, -60, 1376, 1375}},
      {"zoomed: the size stays", {10, 5, 1126, 1125}, {0, 0}, {500, 400}, {-500, -400, 1126, 1125}},
      {"pointer outside the scroll box",
       {0, 0, 100, 100},
       {-50, 900},
       {10, 10},
       {-60, 890, 100, 100}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DraggedBounds(c.bounds, c.pointer, c.origin), c.dragged) << c.name;
  }
}

TEST(DraggedBounds, EdgesBeyond32BitsLeaveTheBoundsAsTheyAre) {
  const QRect bounds(0, 0, 1000, 1000);
  const int max = std::numeric_limits<int>::max();
  EXPECT_EQ(DraggedBounds(bounds, {max - 10, 0}, {0, 0}), bounds);
  EXPECT_EQ(DraggedBounds(bounds, {std::numeric_limits<int>::min(), 0}, {5, 0}), bounds);
}

}  // namespace
}  // namespace velmora
