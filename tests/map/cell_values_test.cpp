#include "map/cell_values.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cstdint>

#include "map/map_font.h"
#include "map/rounding.h"
#include "map/text_metrics.h"
#include "picture_compare.h"

namespace velmora {
namespace {

using testing::PlacedText;

TGrids GridsOf(int rows, int columns) {
  return TGrids(rows, std::vector<TGrid>(columns, TGrid{"", "0"}));
}

// A white picture of the map area plus margins.
QImage BlankPicture(int mapWidth, int mapHeight, int margin) {
  QImage picture(mapWidth + margin, mapHeight + margin, QImage::Format_RGB32);
  picture.fill(Qt::white);
  return picture;
}

// round(i x extent / parts + extent / parts / 2 - size / 2) in real numbers:
// over the common denominator 2 x parts, the numerator is an integer.
int Centred(std::int64_t i, std::int64_t extent, std::int64_t parts, std::int64_t size) {
  return static_cast<int>(RoundHalfEven((2 * i + 1) * extent - size * parts, 2 * parts));
}

// Where the values must stand: centred in their cells by their measured size.
std::vector<PlacedText> Placed(const TGrids& grids, QSize map, int margin, int points) {
  const QFont font = MapFont(points);
  const auto rows = static_cast<std::int64_t>(grids.size());
  const auto columns = static_cast<std::int64_t>(grids[0].size());
  std::vector<PlacedText> texts;
  for (size_t j = 0; j < grids.size(); ++j) {
    for (size_t i = 0; i < grids[j].size(); ++i) {
      const QString t = QString::fromStdString(grids[j][i].Count);
      if (t == "0") continue;
      texts.push_back({t, margin + Centred(i, map.width(), columns, TextWidthOf(font, t)),
                       margin + Centred(j, map.height(), rows, TextHeightOf(font, t))});
    }
  }
  return texts;
}

struct ValueCase {
  const char* name;
  int mapWidth, mapHeight, margin, rows, columns;
  const char* fontSize;
  int points;
  std::vector<std::tuple<int, int, const char*>> counts;  // row, column, count
};

TEST(DrawCellValues, ValuesOtherThanZeroAreCentredInTheirCells) {
  const ValueCase cases[] = {
      {"10 x 6 cells of 100",
       1000,
       600,
       125,
       6,
       10,
       "10",
       10,
       {{0, 0, "17"}, {2, 3, "17"}, {5, 9, "1"}}},
      {"wider than tall", 1200, 400, 0, 4, 12, "10", 10, {{0, 11, "8"}, {3, 0, "123"}}},
      {"empty size: half a cell width",
       1000,
       500,
       50,
       20,
       40,
       "",
       12,
       {{0, 0, "5"}, {19, 39, "42"}}},
      {"cells of real width", 1001, 333, 7, 3, 7, "9", 9, {{1, 1, "3"}, {2, 6, "10"}, {0, 5, "0"}}},
  };
  for (const ValueCase& c : cases) {
    TGrids grids = GridsOf(c.rows, c.columns);
    for (const auto& [row, column, count] : c.counts) grids[row][column].Count = count;
    QImage picture = BlankPicture(c.mapWidth, c.mapHeight, c.margin);
    DrawCellValues(picture, grids, {{c.margin, c.margin}, c.rows, c.columns, c.fontSize, 0x0000FF});
    const QImage expected = testing::PictureWithTexts(
        picture.size(), Placed(grids, {c.mapWidth, c.mapHeight}, c.margin, c.points), c.points,
        QColor(255, 0, 0));
    EXPECT_EQ(testing::DifferingPixels(picture, expected, picture.rect()), 0) << c.name;
  }
}

// Values that overprint their neighbours, over a background of every colour,
// in sizes the stamps draw and sizes the painter draws, few of them and more
// than one core draws: the painter's own pixels, with the later value of the
// column-by-column order on top.
TEST(DrawCellValues, OverprintedValuesAreThePaintersOverAnyBackground) {
  struct Case {
    int width, height, rows, columns, points;
  };
  for (const Case c : {Case{300, 200, 5, 7, 9}, Case{300, 200, 5, 7, 30}, Case{300, 200, 5, 7, 60},
                       Case{1000, 700, 90, 110, 8}}) {
    QImage background(c.width + 20, c.height + 20, QImage::Format_RGB32);
    for (int y = 0; y < background.height(); ++y) {
      for (int x = 0; x < background.width(); ++x) {
        background.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * 13 + y * 7) % 256));
      }
    }
    TGrids grids = GridsOf(c.rows, c.columns);
    for (int j = 0; j < c.rows; ++j) {
      for (int i = 0; i < c.columns; ++i) {
        grids[j][i].Count = std::to_string((i * 7 + j * 3) % 11 * 13);
      }
    }
    QImage picture = background;
    DrawCellValues(picture, grids,
                   {{20, 20}, c.rows, c.columns, std::to_string(c.points), 0x2080F0});
    QImage expected = background;
    QPainter painter(&expected);
    const QFont font = MapFont(c.points);
    painter.setFont(font);
    painter.setPen(QColor(0xF0, 0x80, 0x20));
    for (int i = 0; i < c.columns; ++i) {
      for (int j = 0; j < c.rows; ++j) {
        const QString t = QString::fromStdString(grids[j][i].Count);
        if (t == "0") continue;
        DrawTextAt(painter, 20 + Centred(i, c.width, c.columns, TextWidthOf(font, t)),
                   20 + Centred(j, c.height, c.rows, TextHeightOf(font, t)), t);
      }
    }
    painter.end();
    EXPECT_EQ(picture, expected) << c.rows << " x " << c.columns << " at " << c.points << " pt";
  }
}

TEST(DrawCellValues, PositionsAreRoundedFromRealNumbersNotFromDoubles) {
  // A map width where the real position of a value in column 3 of 7 is an exact
  // half while the double computation (i x cell width + cell width / 2 -
  // text width / 2) lands beside it and rounds the other way.
  const int points = 10;
  const QString count = "17";
  const int tw = TextWidthOf(MapFont(points), count);
  int mapWidth = 0;
  for (int width = 100; width < 2000 && mapWidth == 0; ++width) {
    const double cellWidth = width / 7.0;
    if (RoundHalfEven(3 * cellWidth + cellWidth / 2 - tw / 2.0) != Centred(3, width, 7, tw)) {
      mapWidth = width;
    }
  }
  ASSERT_NE(mapWidth, 0) << "no width where doubles miss the half for a text of " << tw;

  TGrids grids = GridsOf(1, 7);
  grids[0][3].Count = count.toStdString();
  QImage picture = BlankPicture(mapWidth, 100, 30);
  DrawCellValues(picture, grids, {{30, 30}, 1, 7, "10", clBlack});
  const int y = 30 + Centred(0, 100, 1, TextHeightOf(MapFont(points), count));
  const QImage expected = testing::PictureWithTexts(
      picture.size(), {{count, 30 + Centred(3, mapWidth, 7, tw), y}}, points, Qt::black);
  EXPECT_EQ(testing::DifferingPixels(picture, expected, picture.rect()), 0) << mapWidth;
}

TEST(DrawCellValues, TheCountOfOneCellLandsAtItsCentre) {
  // Map 1200 x 400 in 12 x 4 cells: the value of row 0, column 11 is centred
  // at x = 1150, so its ink lies on both sides of it and in no other cell.
  TGrids grids = GridsOf(4, 12);
  grids[0][11].Count = "88";
  QImage picture = BlankPicture(1200, 400, 0);
  DrawCellValues(picture, grids, {{0, 0}, 4, 12, "10", clBlack});
  int left = picture.width();
  int right = -1;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) == qRgb(255, 255, 255)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      EXPECT_LT(y, 100);
    }
  }
  EXPECT_GT(left, 1100);
  EXPECT_LT(left, 1150);
  EXPECT_GT(right, 1150);
  EXPECT_LT(right, 1200);
}

TEST(DrawCellValues, ZerosEmptyListsAndNullPicturesDrawNothing) {
  const QImage blank = BlankPicture(300, 200, 20);
  QImage picture = blank;
  DrawCellValues(picture, GridsOf(2, 3), {{20, 20}, 2, 3, "10", clBlack});
  EXPECT_EQ(picture, blank);
  DrawCellValues(picture, {}, {{20, 20}, 0, 0, "10", clBlack});
  EXPECT_EQ(picture, blank);
  // A cell list smaller than its stated size: the missing cells are skipped.
  TGrids short_ = GridsOf(1, 1);
  short_[0][0].Count = "4";
  DrawCellValues(picture, short_, {{20, 20}, 2, 3, "10", clBlack});
  EXPECT_NE(picture, blank);
  QImage null;
  DrawCellValues(null, short_, {{20, 20}, 1, 1, "10", clBlack});
  EXPECT_TRUE(null.isNull());
}

}  // namespace
}  // namespace velmora
