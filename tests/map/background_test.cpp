#include "map/background.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImageReader>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "map/large_picture.h"
#include "picture_compare.h"
#include "support/file_bytes.h"

namespace velmora {
namespace {

using testing::ReadFileBytes;
using testing::SaveBmp;
using testing::TempFolder;

// Every pixel different, so a shifted or scaled copy shows.
QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16));
  }
  return image;
}

TEST(LoadBackgroundImage, MarginsAreHalfTheLargerSheetSide) {
  const struct {
    int width, height, columns, rows, margin;
  } cases[] = {
      {1001, 1000, 2, 2, 250},  // sheet 500.5 rounds to the even 500
      {1000, 1200, 4, 6, 125},  // sheet 250 x 200
      {300, 200, 1, 1, 150},    // one sheet
      {20, 10, 20, 20, 0},      // sheets of one pixel: half of 1 rounds to 0
      {603, 100, 2, 1, 151},    // sheet 301.5 rounds to 302, whose half is 151
  };
  const TempFolder folder;
  for (const auto& c : cases) {
    const std::string path = SaveBmp(Gradient(c.width, c.height), folder, "map.bmp");
    const std::optional<MapPicture> loaded = LoadBackgroundImage(path, c.columns, c.rows);
    ASSERT_TRUE(loaded) << c.width << "x" << c.height;
    EXPECT_EQ(loaded->margins, (Margins{c.margin, c.margin})) << c.width << "x" << c.height;
    EXPECT_EQ(loaded->picture.size(), QSize(c.width + c.margin, c.height + c.margin));
    EXPECT_EQ(loaded->picture.format(), QImage::Format_RGB32);
  }
}

TEST(LoadBackgroundImage, CopiesTheImageIntoTheMapAreaOfAWhitePicture) {
  const TempFolder folder;
  const QImage image = Gradient(1001, 1000);
  const std::optional<MapPicture> loaded =
      LoadBackgroundImage(SaveBmp(image, folder, "map.bmp"), 2, 2);
  ASSERT_TRUE(loaded);
  const QImage& picture = loaded->picture;
  EXPECT_EQ(picture.size(), QSize(1251, 1250));
  EXPECT_EQ(picture.copy(250, 250, 1001, 1000), image);
  const QColor white(Qt::white);
  EXPECT_EQ(testing::PixelsOfColor(picture, white, QRect(0, 0, 1251, 250)), 1251 * 250);
  EXPECT_EQ(testing::PixelsOfColor(picture, white, QRect(0, 250, 250, 1000)), 250 * 1000);
}

TEST(LoadBackgroundImage, FailsWithoutALoadableBmpOrWithoutSheets) {
  const TempFolder folder;
  const std::string bmp = SaveBmp(Gradient(40, 40), folder, "map.bmp");
  const std::string png = folder.PathOf("map.png.bmp");
  Gradient(40, 40).save(QString::fromStdString(png), "PNG");
  const std::string garbage = folder.PathOf("garbage.bmp");
  std::ofstream(garbage) << "BM this is not a bitmap";
  // A header that promises 100000 x 100000 pixels and brings none.
  const std::string promise = folder.PathOf("promise.bmp");
  {
    std::ofstream out(promise, std::ios::binary);
    const unsigned char header[54] = {'B', 'M', 54,   0,    0,  0, 0, 0, 0,    0,
                                      54,  0,   0,    0,    40, 0, 0, 0, 0xA0, 0x86,
                                      1,   0,   0xA0, 0x86, 1,  0, 1, 0, 24};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
  }
  // The wizard's settings may name one: opening it would wait for a writer.
  const std::string fifo = folder.PathOf("fifo.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    int columns, rows;
  } cases[] = {{"", 1, 1},      {folder.PathOf("missing.bmp"), 1, 1},
               {png, 1, 1},     {garbage, 1, 1},
               {promise, 1, 1}, {folder.PathOf(""), 1, 1},
               {fifo, 1, 1},    {bmp, 0, 1},
               {bmp, 1, 0},     {bmp, -2, 1}};
  for (const auto& c : cases) {
    EXPECT_FALSE(LoadBackgroundImage(c.path, c.columns, c.rows))
        << c.path << " " << c.columns << "x" << c.rows;
  }
  EXPECT_TRUE(LoadBackgroundImage(bmp, 1, 1));
}

std::string SaveBytes(const TempFolder& folder, const std::string& name, const std::string& bytes) {
  const std::string path = folder.PathOf(name);
  testing::WriteFileBytes(path, bytes);
  return path;
}

// Qt's reader takes a BMP cut short for a whole picture with black rows; the
// header says how much pixel data there has to be.
TEST(LoadBackgroundImage, PixelDataShorterThanTheHeaderDeclaresIsAFailedLoad) {
  const TempFolder folder;
  const std::string colour = ReadFileBytes(SaveBmp(Gradient(41, 30), folder, "colour.bmp"));
  QImage strip(70, 3, QImage::Format_Mono);
  strip.fill(1);
  const std::string mono = ReadFileBytes(SaveBmp(strip, folder, "mono.bmp"));
  // The same picture stored top-down: a negative height.
  std::string topDown = colour;
  const std::int32_t minusThirty = -30;
  topDown.replace(22, 4, reinterpret_cast<const char*>(&minusThirty), 4);
  // Two pixels of colour 1 in 8-bit run-length encoding (2 1), then the end of
  // the picture (0 1): four bytes after a palette of 256 colours.
  std::string rle(54 + 1024, '\0');
  const unsigned char header[] = {'B', 'M', 0x3A, 4, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40, 0, 0, 0,
                                  2,   0,   0,    0, 1, 0, 0, 0, 1, 0, 8,    0, 1, 0, 0,  0, 4, 0};
  rle.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  rle += std::string("\x02\x01\x00\x01", 4);

  for (const auto& [name, bytes] : {std::pair{"colour", colour}, std::pair{"mono", mono},
                                    std::pair{"top-down", topDown}, std::pair{"rle", rle}}) {
    EXPECT_TRUE(LoadBackgroundImage(SaveBytes(folder, "whole.bmp", bytes), 1, 1)) << name;
    EXPECT_TRUE(LoadBackgroundImage(SaveBytes(folder, "longer.bmp", bytes + "more"), 1, 1))
        << name << ": bytes after the pixels do no harm";
    EXPECT_FALSE(
        LoadBackgroundImage(SaveBytes(folder, "cut.bmp", bytes.substr(0, bytes.size() - 1)), 1, 1))
        << name << " without its last byte";
    EXPECT_FALSE(LoadBackgroundImage(SaveBytes(folder, "cut.bmp", bytes.substr(0, 60)), 1, 1))
        << name << " without most of its pixels";
  }
}

TEST(LoadBackgroundImage, ReadsImagesBeyondTheReadersOwnLimit) {
  // Qt's reader limit (128 MB unless changed) would refuse large backgrounds;
  // here a 1 MB limit stands in for it with an image of 4 MB in memory.
  const TempFolder folder;
  QImage land(1000, 1000, QImage::Format_RGB32);
  land.fill(QColor(200, 230, 180));
  const std::string path = SaveBmp(land, folder, "land.bmp");
  const int previous = QImageReader::allocationLimit();
  QImageReader::setAllocationLimit(1);
  const std::optional<MapPicture> loaded = LoadBackgroundImage(path, 2, 2);
  EXPECT_EQ(QImageReader::allocationLimit(), 1);
  QImageReader::setAllocationLimit(previous);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->picture.size(), QSize(1250, 1250));
}

TEST(LoadBackgroundImage, FailsWhenThePictureWouldOutgrowAnImage) {
  // 40000 x 1 pixels, a few kilobytes as a monochrome BMP: as one sheet its
  // margins are 20000 pixels, and the picture would need 4.8 GB.
  const TempFolder folder;
  QImage strip(40000, 1, QImage::Format_Mono);
  strip.fill(1);
  const std::string path = SaveBmp(strip, folder, "strip.bmp");
  EXPECT_FALSE(LoadBackgroundImage(path, 1, 1));
  // As 400 sheets the margins are 50 pixels and the picture is small.
  const std::optional<MapPicture> loaded = LoadBackgroundImage(path, 400, 1);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->picture.size(), QSize(40050, 51));
}

TEST(DeclaredBmpSize, ReadsTheHeaderAloneAndMarginsFollowTheLoadsRule) {
  const TempFolder folder;
  const std::string bmp = SaveBmp(Gradient(300, 130), folder, "g.bmp");
  EXPECT_EQ(DeclaredBmpSize(bmp), QSize(300, 130));
  // Rows cut off: the header still says what the picture would be.
  std::filesystem::resize_file(bmp, 200);
  EXPECT_EQ(DeclaredBmpSize(bmp), QSize(300, 130));
  testing::WriteFileBytes(folder.PathOf("text.bmp"), "no picture at all, just some text here");
  EXPECT_EQ(DeclaredBmpSize(folder.PathOf("text.bmp")), std::nullopt);
  EXPECT_EQ(DeclaredBmpSize(folder.PathOf("missing.bmp")), std::nullopt);

  // 3 x 1 sheets of 100 x 130 pixels: margins of 65, as the loaded picture has.
  EXPECT_EQ(MarginsOf(QSize(300, 130), 3, 1), (Margins{65, 65}));
  const auto loaded = LoadBackgroundImage(SaveBmp(Gradient(300, 130), folder, "h.bmp"), 3, 1);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->margins, MarginsOf(QSize(300, 130), 3, 1));
}

// The pictures of large maps live in memory of their own: they behave as any
// image, copies and all, and refuse what an image could not hold.
TEST(LargePicture, IsAnOrdinaryPictureInMemoryOfItsOwn) {
  QImage picture = LargePicture(QSize(1500, 700));  // 4 MB: huge pages where offered
  ASSERT_EQ(picture.size(), QSize(1500, 700));
  EXPECT_EQ(picture.format(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  picture.setPixel(1499, 699, qRgb(1, 2, 3));
  QImage copy = picture;
  copy.setPixel(0, 0, qRgb(4, 5, 6));
  EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255)) << "a copy writes to its own pixels";
  EXPECT_EQ(copy.pixel(1499, 699), qRgb(1, 2, 3));
  EXPECT_EQ(LargePicture(QSize(10, 10)).size(), QSize(10, 10)) << "small ones from the heap";
  EXPECT_TRUE(LargePicture(QSize(0, 10)).isNull());
  EXPECT_TRUE(LargePicture(QSize(30000, 20000)).isNull()) << "2.4 GB: beyond int offsets";
}

}  // namespace
}  // namespace velmora
