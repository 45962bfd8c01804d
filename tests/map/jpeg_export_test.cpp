#include "map/jpeg_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "picture_compare.h"
#include "platform/errors.h"
#include "support/file_bytes.h"
#include "support/file_permissions.h"

namespace velmora {
namespace {
namespace fs = std::filesystem;
using testing::ReadFileBytes;

// The example tables of the JPEG standard (ITU T.81, Annex K.1), in natural
// order, and their scaling for a quality as the Independent JPEG Group defines
// it: factor 200 - 2 x quality percent from 50 up, entries kept from 1 to 255
// so that baseline decoders can read them.
constexpr std::array<int, 64> kLuminance = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChrominance = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// The position in natural order of the n-th entry of a table in the file.
constexpr std::array<int, 64> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// A table as the file stores it: scaled for quality 90, in zigzag order.
std::vector<int> StoredAtQuality90(const std::array<int, 64>& table) {
  std::vector<int> stored;
  for (int natural : kZigZag)
    stored.push_back(std::clamp((table[natural] * 20 + 50) / 100, 1, 255));
  return stored;
}

// What the markers before the image data say.
struct JpegHeader {
  std::set<int> markers;                                     // the second byte of each
  std::map<int, std::vector<int>> tables;                    // DQT: table number -> entries
  std::map<int, int> tablePrecision;                         // DQT: table number -> 0 for 8 bits
  int precision = 0, height = 0, width = 0, components = 0;  // from SOF0
};

int Byte(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes.at(at));
}

// Reads the segments from SOI to SOS.
JpegHeader ReadHeader(const std::string& bytes) {
  JpegHeader header;
  EXPECT_EQ(Byte(bytes, 0), 0xFF);
  EXPECT_EQ(Byte(bytes, 1), 0xD8);
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    EXPECT_EQ(Byte(bytes, at), 0xFF) << at;
    const int marker = Byte(bytes, at + 1);
    const std::size_t length = Byte(bytes, at + 2) * 256 + Byte(bytes, at + 3);
    const std::size_t body = at + 4;
    header.markers.insert(marker);
    if (marker == 0xDB) {
      for (std::size_t t = body; t < at + 2 + length;) {
        const int precision = Byte(bytes, t) >> 4;
        const int number = Byte(bytes, t) & 0x0F;
        header.tablePrecision[number] = precision;
        for (int n = 0; n < 64; ++n) {
          header.tables[number].push_back(precision == 0 ? Byte(bytes, t + 1 + n)
                                                         : Byte(bytes, t + 1 + 2 * n) * 256 +
                                                               Byte(bytes, t + 2 + 2 * n));
        }
        t += 1 + 64 * (precision == 0 ? 1 : 2);
      }
    } else if (marker == 0xC0) {
      header.precision = Byte(bytes, body);
      header.height = Byte(bytes, body + 1) * 256 + Byte(bytes, body + 2);
      header.width = Byte(bytes, body + 3) * 256 + Byte(bytes, body + 4);
      header.components = Byte(bytes, body + 5);
    }
    if (marker == 0xDA) break;
    at += 2 + length;
  }
  return header;
}

// Four coloured quarters with a white label margin: what a map looks like to
// the encoder.
QImage ColourPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.fillRect(QRect(0, 0, width / 2, height / 2), QColor(220, 30, 30));
  painter.fillRect(QRect(width / 2, 0, width - width / 2, height / 2), QColor(30, 180, 40));
  painter.fillRect(QRect(0, height / 2, width / 2, height - height / 2), QColor(30, 40, 200));
  return picture;
}

std::string MessageOf(const std::function<void()>& work) {
  try {
    work();
  } catch (const Exception& e) {
    return e.what();
  }
  return "no error";
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// JPEG data goes only under a JPEG extension: a name with another one, a
// picture's above all, gets ".jpg" added rather than JPEG under that name.
TEST(ExportFilePath, AddsJpgToANameWithoutAJpegExtension) {
  const struct {
    const char* chosen;
    const char* file;
  } cases[] = {
      {"/home/ina/map", "/home/ina/map.jpg"},
      {"/home/ina/map.jpg", "/home/ina/map.jpg"},
      {"/home/ina/map.JPG", "/home/ina/map.JPG"},
      {"/home/ina/map.jpeg", "/home/ina/map.jpeg"},
      {"/home/ina/map.JPEG", "/home/ina/map.JPEG"},
      {"/home/ina/map.png", "/home/ina/map.png.jpg"},
      {"/home/ina/map.bmp", "/home/ina/map.bmp.jpg"},
      {"/home/ina/map.v2", "/home/ina/map.v2.jpg"},
      {"/home/ina/map.jpg.png", "/home/ina/map.jpg.png.jpg"},
      {"/home/ina/map.", "/home/ina/map.jpg"},
      {"/home/ina/.map", "/home/ina/.map.jpg"},
      {"/home/ina/my.maps/map", "/home/ina/my.maps/map.jpg"},
      {"map", "map.jpg"},
      {"Karte Nord", "Karte Nord.jpg"},
      {"/home/ina/maps/", "/home/ina/maps/"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExportFilePath(c.chosen).string(), c.file) << c.chosen;
}

TEST(EncodeJpeg, ABaselineColourJpegOfThePicturesOwnSizeAtQuality90) {
  const QImage picture = ColourPicture(1251, 1250);
  const std::string bytes = EncodeJpeg(picture);
  const JpegHeader header = ReadHeader(bytes);

  EXPECT_TRUE(header.markers.contains(0xC0)) << "baseline frame (SOF0)";
  for (int sof : {0xC1, 0xC2, 0xC3, 0xC9, 0xCA, 0xCB}) {
    EXPECT_FALSE(header.markers.contains(sof)) << std::hex << sof;
  }
  EXPECT_EQ(header.precision, 8);
  EXPECT_EQ(header.width, 1251);
  EXPECT_EQ(header.height, 1250);
  EXPECT_EQ(header.components, 3);

  ASSERT_EQ(header.tables.size(), 2u);
  EXPECT_EQ(header.tablePrecision.at(0), 0);
  EXPECT_EQ(header.tablePrecision.at(1), 0);
  EXPECT_EQ(header.tables.at(0), StoredAtQuality90(kLuminance));
  EXPECT_EQ(header.tables.at(1), StoredAtQuality90(kChrominance));

  const QImage decoded = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                          static_cast<int>(bytes.size()), "JPG");
  ASSERT_FALSE(decoded.isNull());
  EXPECT_EQ(decoded.size(), picture.size());
  EXPECT_FALSE(decoded.isGrayscale());
  // Well inside each quarter the colour comes back within a few steps.
  for (QPoint p : {QPoint(300, 300), QPoint(900, 300), QPoint(300, 900), QPoint(900, 900)}) {
    const QColor want = picture.pixelColor(p);
    const QColor got = decoded.pixelColor(p);
    EXPECT_NEAR(got.red(), want.red(), 4) << p.x() << "," << p.y();
    EXPECT_NEAR(got.green(), want.green(), 4) << p.x() << "," << p.y();
    EXPECT_NEAR(got.blue(), want.blue(), 4) << p.x() << "," << p.y();
  }
}

TEST(EncodeJpeg, AnyPixelFormatIsEncodedAsItsColours) {
  const QImage picture = ColourPicture(64, 48);
  for (QImage::Format format :
       {QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied}) {
    const std::string bytes = EncodeJpeg(picture.convertToFormat(format));
    EXPECT_EQ(bytes, EncodeJpeg(picture)) << format;
  }
}

TEST(EncodeJpeg, NoPictureOrOneTooLargeForJpegIsAnError) {
  EXPECT_EQ(MessageOf([] { EncodeJpeg(QImage()); }),
            "There is no map to export: no background image is loaded");
  // The format's limit is 65500 pixels a side; the library's own message says so.
  QImage wide(65501, 2, QImage::Format_RGB32);
  wide.fill(Qt::white);
  EXPECT_EQ(MessageOf([&] { EncodeJpeg(wide); }),
            "The map could not be encoded as JPEG: Maximum supported image dimension is 65500 "
            "pixels");
}

class ExportJpegTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  fs::path Path(const std::string& name) const { return folder_.PathOf(name); }
};

TEST_F(ExportJpegTest, WritesTheEncodedPictureUnderTheVeryName) {
  const QImage picture = ColourPicture(300, 200);
  ExportJpeg(picture, Path("Karte.bmp"));
  EXPECT_EQ(ReadFileBytes(Path("Karte.bmp")), EncodeJpeg(picture));
  // Replacing an existing export leaves one file and nothing beside it.
  ExportJpeg(ColourPicture(30, 20), Path("Karte.bmp"));
  EXPECT_EQ(ReadFileBytes(Path("Karte.bmp")), EncodeJpeg(ColourPicture(30, 20)));
  EXPECT_EQ(Names(Path("")), std::vector<std::string>{"Karte.bmp"});
}

TEST_F(ExportJpegTest, NoPictureWritesNoFileAndKeepsAnOldOne) {
  EXPECT_NE(MessageOf([&] { ExportJpeg(QImage(), Path("map.jpg")); }), "no error");
  EXPECT_TRUE(Names(Path("")).empty());
  std::ofstream(Path("old.jpg")) << "the old export";
  EXPECT_NE(MessageOf([&] { ExportJpeg(QImage(), Path("old.jpg")); }), "no error");
  EXPECT_EQ(ReadFileBytes(Path("old.jpg")), "the old export");
  EXPECT_EQ(Names(Path("")), std::vector<std::string>{"old.jpg"});
}

TEST_F(ExportJpegTest, AnUnwritableFolderGetsNoFileAndKeepsTheOldOne) {
  const fs::path folder = Path("");
  std::ofstream(Path("map.jpg")) << "the old export";
  // The old file itself stays writable: an export that wrote into it would
  // succeed and lose it half-way on a failure; one that writes beside it fails.
  ::chmod(folder.c_str(), 0555);
  std::string message;
  {
    const testing::WithoutOverridingPermissions unprivileged;
    message = MessageOf([&] { ExportJpeg(ColourPicture(40, 30), Path("map.jpg")); });
  }
  ::chmod(folder.c_str(), 0700);
  EXPECT_EQ(message,
            "The file '" + Path("map.jpg").string() + "' could not be written: Permission denied");
  EXPECT_EQ(ReadFileBytes(Path("map.jpg")), "the old export");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"map.jpg"});
}

}  // namespace
}  // namespace velmora
