// A text laid over a picture from its stamp gives the pixels the painter gives
// when it draws the text there: over any background, in any opaque colour and
// size, and where the text reaches beyond the picture's edges.
#include "map/text_stamp.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "map/map_font.h"
#include "map/text_metrics.h"

namespace velmora {
namespace {

// Every pixel another colour, so that each blend of coverage and background
// is met.
QImage Background(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * 13 + y * 7) % 256));
    }
  }
  return picture;
}

TEST(TextStamp, GivesThePaintersPixelsOverAnyBackgroundAndAtTheEdges) {
  const QImage background = Background(90, 60);
  EXPECT_TRUE(TextStamp::GivesThePaintersPixels(MapFont(41), Qt::black));
  EXPECT_FALSE(TextStamp::GivesThePaintersPixels(MapFont(60), Qt::black));
  // Around the size where the painter stops taking glyphs from its cache.
  for (const int points : {6, 10, 13, 41, 45, 46, 47, 48, 49, 50}) {
    const QFont font = MapFont(points);
    for (const QColor color : {QColor(Qt::black), QColor(255, 0, 0), QColor(128, 128, 128),
                               QColor(17, 200, 99), QColor(Qt::white)}) {
      if (!TextStamp::GivesThePaintersPixels(font, color)) continue;
      for (const QString text : {"7", "10", "1000", "0123456789"}) {
        const TextStamp stamp(font, color, text);
        const int width = TextWidthOf(font, text);
        const int height = TextHeightOf(font, text);
        for (const QPoint at :
             {QPoint(20, 15), QPoint(-width / 2, -height / 2),
              QPoint(90 - width / 2, 60 - height / 3), QPoint(-500, 10), QPoint(3, 59)}) {
          QImage laid = background;
          // Rows in any order; a row beyond the text or the picture lays
          // nothing.
          const PictureRows rows(laid);
          for (int row = at.y() + height + 3; row >= at.y() - 3; --row) {
            stamp.LayOverRow(rows, at.x(), at.y(), row);
          }
          QImage painted = background;
          QPainter painter(&painted);
          painter.setFont(font);
          painter.setPen(color);
          DrawTextAt(painter, at.x(), at.y(), text);
          painter.end();
          ASSERT_EQ(laid, painted)
              << points << " pt " << text.toStdString() << " in " << color.name().toStdString()
              << " at " << at.x() << ", " << at.y();
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmora
