// The quick PNG writer of the atlas's maps must give back every pixel.
#include "map/png_encoding.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>

namespace velmora {
namespace {

TEST(EncodePngQuickly, GivesBackEveryPixelOfPicturesInAnyFormat) {
  QImage picture(37, 23, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 7, y * 11, x ^ y));
  }
  for (const QImage::Format format :
       {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888}) {
    const std::string bytes = EncodePngQuickly(picture.convertToFormat(format));
    const QImage read =
        QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "PNG");
    ASSERT_EQ(read.size(), picture.size()) << format;
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture) << format;
    EXPECT_EQ(read.dotsPerMeterX(), 3780) << "96 pixels per inch";
  }
}

}  // namespace
}  // namespace velmora
