#include "map/grid_drawing.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "map/map_font.h"
#include "map/rounding.h"
#include "map/text_metrics.h"
#include "picture_compare.h"

namespace velmora {
namespace {

using testing::PixelsOfColor;
using testing::PlacedText;

const QColor kBlack(0, 0, 0);
const QColor kGrey(160, 160, 164);
const QColor kLand(200, 230, 180);

// The picture LoadBackgroundImage makes of a plain land image.
MapPicture LandPicture(int width, int height, int columns, int rows) {
  QImage land(width, height, QImage::Format_RGB32);
  land.fill(kLand);
  const testing::TempFolder folder;
  std::optional<MapPicture> loaded =
      LoadBackgroundImage(testing::SaveBmp(land, folder, "land.bmp"), columns, rows);
  if (!loaded) throw std::runtime_error("land picture not loaded");
  return std::move(*loaded);
}

TEST(ColumnAndRowLabels, TwoDigitsOfTheSheetNumber) {
  const struct {
    int columnIndex;
    const char* label;
  } columns[] = {{99, "99"}, {100, "00"}, {101, "01"}, {108, "08"}, {5, "05"}, {158, "58"}};
  for (const auto& c : columns) EXPECT_EQ(ColumnLabel(c.columnIndex), c.label);
  const struct {
    int row;
    const char* label;
  } rows[] = {{9, "09"}, {12, "12"}, {87, "87"}, {0, "00"}};
  for (const auto& r : rows) EXPECT_EQ(RowLabel(r.row), r.label);
}

class DrawGridLines : public ::testing::Test {
 protected:
  // 2 x 2 sheets of 1001 x 1000 pixels: margins 250, picture 1251 x 1250.
  void SetUp() override {
    MapPicture map = LandPicture(1001, 1000, 2, 2);
    picture_ = std::move(map.picture);
    DrawGrid(picture_, {map.margins, 2, 2, 65, 108, "18", clBlack});
  }
  QColor At(int x, int y) const { return picture_.pixelColor(x, y); }

  QImage picture_;
  const int w_ = 1251;
  const int h_ = 1250;
};

TEST_F(DrawGridLines, FrameShowsOnePixelOnEveryEdge) {
  for (int x = 0; x < w_; ++x) {
    if (x == 750) continue;  // a sheet line crosses the frame
    EXPECT_EQ(At(x, 0), kBlack) << x;
    EXPECT_EQ(At(x, h_ - 1), kBlack) << x;
    if (x > 250 && x < w_ - 1) {
      EXPECT_EQ(At(x, h_ - 2), kLand) << x;
    }
  }
  for (int y = 0; y < h_; ++y) {
    if (y == 750) continue;
    EXPECT_EQ(At(0, y), kBlack) << y;
    EXPECT_EQ(At(w_ - 1, y), kBlack) << y;
    if (y > 250 && y < h_ - 1) {
      EXPECT_EQ(At(w_ - 2, y), kLand) << y;
    }
  }
}

TEST_F(DrawGridLines, SeparatorsRunFromTheMarginCornerOnly) {
  for (int y = 250; y < h_ - 1; ++y) {
    if (y != 750) {
      EXPECT_EQ(At(250, y), kBlack) << y;
    }
  }
  for (int x = 250; x < w_ - 1; ++x) {
    if (x != 750) {
      EXPECT_EQ(At(x, 250), kBlack) << x;
    }
  }
  EXPECT_EQ(At(250, 249), QColor(Qt::white));
  EXPECT_EQ(At(249, 250), QColor(Qt::white));
  EXPECT_EQ(At(251, 251), kLand);
}

TEST_F(DrawGridLines, GreySheetLinesCrossEverythingAtTheRoundedBoundaries) {
  // Column boundary 250 + round(500.5) = 750; the second lies at 1251 = W.
  for (int y = 0; y < h_; ++y) EXPECT_EQ(At(750, y), kGrey) << y;
  for (int x = 0; x < w_; ++x) EXPECT_EQ(At(x, 750), kGrey) << x;
  EXPECT_EQ(PixelsOfColor(picture_, kGrey, picture_.rect()), w_ + h_ - 1);
}

TEST(DrawGrid, SheetBoundariesAreRoundedFromRealNumbers) {
  // 115 pixels in 14 sheet columns: boundary 7 lies at 57.5 in real numbers,
  // which gives 58; 7 x (115 / 14.0) is 57.49999999999999 and would give 57.
  QImage picture(115, 40, QImage::Format_RGB32);
  picture.fill(Qt::white);
  DrawGrid(picture, {{0, 0}, 14, 1, 65, 108, "18", clBlack});
  for (int y = 2; y < 38; ++y) {
    EXPECT_EQ(picture.pixelColor(58, y), kGrey) << y;
    EXPECT_EQ(picture.pixelColor(57, y), QColor(Qt::white)) << y;
  }
}

TEST(DrawGrid, OneSheetShowsNoGreyLine) {
  MapPicture map = LandPicture(400, 300, 1, 1);
  DrawGrid(map.picture, {map.margins, 1, 1, 65, 108, "18", clBlack});
  EXPECT_EQ(PixelsOfColor(map.picture, kGrey, map.picture.rect()), 0);
  EXPECT_EQ(map.picture.pixelColor(200, 0), kBlack);
}

TEST(DrawGrid, NullPictureStaysNull) {
  QImage picture;
  DrawGrid(picture, {{250, 250}, 2, 2, 65, 108, "18", clBlack});
  EXPECT_TRUE(picture.isNull());
}

struct LabelCase {
  const char* name;
  int imageWidth, imageHeight, columns, rows, nwRow, nwColumnIndex;
  const char* fontSize;
  int points;
  std::vector<QString> columnLabels;
  std::vector<QString> rowLabels;
};

TEST(DrawGrid, LabelsAreCentredByTheirMeasuredSizes) {
  const LabelCase cases[] = {
      {"0901 with 3 columns", 900, 500, 3, 2, 9, 101, "18", 18, {"01", "02", "03"}, {"09", "10"}},
      {"W5099 with 2 columns", 1001, 1000, 2, 2, 50, 99, "18", 18, {"99", "00"}, {"50", "51"}},
      {"empty size: half the margin",
       1001,
       1000,
       2,
       2,
       65,
       108,
       "",
       125,
       {"08", "09"},
       {"65", "66"}},
      {"odd sizes", 777, 555, 3, 3, 7, 140, "11", 11, {"40", "41", "42"}, {"07", "08", "09"}},
  };
  const QColor red(255, 0, 0);
  for (const LabelCase& c : cases) {
    MapPicture map = LandPicture(c.imageWidth, c.imageHeight, c.columns, c.rows);
    DrawGrid(map.picture,
             {map.margins, c.columns, c.rows, c.nwRow, c.nwColumnIndex, c.fontSize, 0x0000FF});
    const int w = map.picture.width();
    const int h = map.picture.height();
    const int margin = map.margins.left;
    // Positions in real numbers: over the denominator 2 x parts, numerators are
    // integers.
    const auto centred = [](int a, int extent, int parts, int size) {
      return static_cast<int>(RoundHalfEven(
          (2 * std::int64_t{a} + 1) * extent - std::int64_t{size} * parts, 2 * parts));
    };
    const auto boundary = [](int a, int extent, int parts) {
      return static_cast<int>(RoundHalfEven(std::int64_t{a} * extent, parts));
    };
    const QFont font = MapFont(c.points);
    const int th = TextHeightOf(font, "0");

    std::vector<PlacedText> texts;
    std::vector<int> lineColumns = {0, margin, w - 1};
    std::vector<int> lineRows = {0, margin, h - 1};
    for (int a = 0; a < c.columns; ++a) {
      const int tw = TextWidthOf(font, c.columnLabels[a]);
      texts.push_back({c.columnLabels[a], margin + centred(a, w - margin, c.columns, tw),
                       RoundHalfEven(margin / 2.0 - th / 2.0)});
      lineColumns.push_back(margin + boundary(a + 1, w - margin, c.columns));
    }
    const int rowX = RoundHalfEven(margin / 2.0 - TextWidthOf(font, "88") / 2.0);
    for (int a = 0; a < c.rows; ++a) {
      texts.push_back({c.rowLabels[a], rowX, margin + centred(a, h - margin, c.rows, th)});
      lineRows.push_back(margin + boundary(a + 1, h - margin, c.rows));
    }
    const QImage expected = testing::PictureWithTexts(map.picture.size(), texts, c.points, red);
    EXPECT_GT(PixelsOfColor(map.picture, red, map.picture.rect()), 0) << c.name;
    EXPECT_EQ(testing::DifferingPixels(map.picture, expected, QRect(0, 0, w, margin), lineColumns,
                                       lineRows),
              0)
        << c.name;
    EXPECT_EQ(testing::DifferingPixels(map.picture, expected, QRect(0, margin, margin, h - margin),
                                       lineColumns, lineRows),
              0)
        << c.name;
  }
}

}  // namespace
}  // namespace velmora
