#include "map/background.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "map/large_picture.h"
#include "map/rounding.h"
#include "platform/read_file.h"

namespace velmora {
namespace {

// An image's pixels are addressed with int byte offsets on many platforms, so
// a picture of more bytes than an int holds is refused even where this build of
// Qt would allocate it; a few kilobytes of BMP could otherwise ask for
// gigabytes.
constexpr std::int64_t kMaxPictureBytes = std::numeric_limits<int>::max();

std::optional<QSize> PictureSize(QSize image, int margin) {
  const std::int64_t width = std::int64_t{image.width()} + margin;
  const std::int64_t height = std::int64_t{image.height()} + margin;
  if (width * height * 4 > kMaxPictureBytes) return std::nullopt;
  return QSize(static_cast<int>(width), static_cast<int>(height));
}

// Qt refuses to read an image of more than 128 MB by default, which a
// background of a few dozen sheets exceeds (5 x 5 sheets of 1900 pixels). The
// picture limit above is the one that counts, so it also bounds the read.
class ReadLimitOfAPicture {
 public:
  ReadLimitOfAPicture() : previous_(QImageReader::allocationLimit()) {
    QImageReader::setAllocationLimit(static_cast<int>(kMaxPictureBytes >> 20));
  }
  ~ReadLimitOfAPicture() { QImageReader::setAllocationLimit(previous_); }
  ReadLimitOfAPicture(const ReadLimitOfAPicture&) = delete;
  ReadLimitOfAPicture& operator=(const ReadLimitOfAPicture&) = delete;

 private:
  int previous_;
};

std::uint32_t LittleEndian(const QByteArray& bytes, int offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<std::uint8_t>(bytes[offset + i]);
  return value;
}

// What a BMP header declares. Bytes a header needs beyond the first 38 (the
// colour masks of newer headers) play no part here.
struct BmpHeader {
  std::int64_t dataOffset;
  std::int64_t width;
  std::int64_t rows;
  std::int64_t bitsPerPixel;
  std::int64_t compression = 0;
  std::int64_t imageSize = 0;
};

constexpr int kBmpHeaderBytes = 38;

// Nothing for a header too short to tell.
std::optional<BmpHeader> ParseBmpHeader(const QByteArray& header) {
  constexpr int kFileHeader = 14;
  if (header.size() < kFileHeader + 4) return std::nullopt;
  BmpHeader bmp{};
  bmp.dataOffset = LittleEndian(header, 10, 4);
  const std::uint32_t infoSize = LittleEndian(header, kFileHeader, 4);
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, never compressed
    if (header.size() < 26) return std::nullopt;
    bmp.width = LittleEndian(header, 18, 2);
    bmp.rows = LittleEndian(header, 20, 2);
    bmp.bitsPerPixel = LittleEndian(header, 24, 2);
    return bmp;
  }
  if (header.size() < kBmpHeaderBytes) return std::nullopt;
  bmp.width = static_cast<std::int32_t>(LittleEndian(header, 18, 4));
  bmp.rows = std::abs(std::int64_t{static_cast<std::int32_t>(LittleEndian(header, 22, 4))});
  bmp.bitsPerPixel = LittleEndian(header, 28, 2);
  bmp.compression = LittleEndian(header, 30, 4);
  bmp.imageSize = LittleEndian(header, 34, 4);
  return bmp;
}

// Whether the file holds all the pixel data its header declares: from the
// data offset on, the rows padded to four bytes each when uncompressed, the
// size the header gives when run-length encoded. Qt's reader takes a file cut
// short for a whole picture whose missing rows are black. A header too short
// to tell is left to the reader, which refuses it.
bool HasAllDeclaredPixels(const QByteArray& header, std::int64_t fileSize) {
  const std::optional<BmpHeader> bmp = ParseBmpHeader(header);
  if (!bmp) return true;
  const std::int64_t available = fileSize - bmp->dataOffset;
  if (available < 0) return false;
  switch (bmp->compression) {
    case 0:  // uncompressed
    case 3:  // uncompressed, with bit fields
    case 6: {
      const std::int64_t rowBytes = (bmp->width * bmp->bitsPerPixel + 31) / 32 * 4;
      return rowBytes <= 0 || bmp->rows <= available / rowBytes;
    }
    case 1:  // run-length encoded, 8 or 4 bits a pixel
    case 2:
      return bmp->imageSize <= available;
    default:
      return true;
  }
}

// The file is opened by its bytes, which need not be UTF-8, and only when it
// is a regular file: a FIFO would wait for a writer, a device might never end.
std::optional<FileDescriptor> OpenedBackground(const std::string& path) {
  try {
    return OpenRegularFile(path);
  } catch (const FileReadError&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<QSize> DeclaredBmpSize(const std::string& path) {
  const std::optional<FileDescriptor> fd = OpenedBackground(path);
  QFile file;
  if (!fd || !file.open(fd->Get(), QIODevice::ReadOnly) || file.peek(2) != "BM")
    return std::nullopt;
  const std::optional<BmpHeader> bmp = ParseBmpHeader(file.peek(kBmpHeaderBytes));
  if (!bmp || bmp->width <= 0 || bmp->rows <= 0 || bmp->width > INT_MAX || bmp->rows > INT_MAX) {
    return std::nullopt;
  }
  return QSize(static_cast<int>(bmp->width), static_cast<int>(bmp->rows));
}

Margins MarginsOf(QSize image, int sheetColumns, int sheetRows) {
  const int sheetWidth = RoundHalfEven(static_cast<double>(image.width()) / sheetColumns);
  const int sheetHeight = RoundHalfEven(static_cast<double>(image.height()) / sheetRows);
  const int margin = RoundHalfEven(std::max(sheetWidth, sheetHeight) / 2.0);
  return {margin, margin};
}

std::optional<MapPicture> LoadBackgroundImage(const std::string& path, int sheetColumns,
                                              int sheetRows) {
  if (path.empty() || sheetColumns <= 0 || sheetRows <= 0) return std::nullopt;
  const std::optional<FileDescriptor> fd = OpenedBackground(path);
  QFile file;
  if (!fd || !file.open(fd->Get(), QIODevice::ReadOnly) ||
      !HasAllDeclaredPixels(file.peek(kBmpHeaderBytes), file.size())) {
    return std::nullopt;
  }
  const ReadLimitOfAPicture limit;
  QImageReader reader(&file, "bmp");
  // The header gives the size, so that a picture too large for an image is
  // refused before a few bytes of run-length code are decoded into gigabytes.
  QSize declared = reader.size();
  // Qt gives a top-down picture's height as the header stores it: negative.
  declared.setHeight(std::abs(declared.height()));
  if (!declared.isValid()) return std::nullopt;
  const int margin = MarginsOf(declared, sheetColumns, sheetRows).left;
  const std::optional<QSize> size = PictureSize(declared, margin);
  if (!size) return std::nullopt;
  // Both pictures lie in huge pages (LargePicture); the reader fills the
  // first in place when the file holds its pixel format, else makes its own.
  QImage image = LargePicture(declared);
  if (image.isNull() || !reader.read(&image) || image.size() != declared) return std::nullopt;

  MapPicture result{LargePicture(*size), {margin, margin}};
  if (result.picture.isNull()) return std::nullopt;  // more than an image can hold

  result.picture.fill(Qt::white);
  // A copy, not a blend: any alpha channel of the file is not the map's concern.
  QPainter painter(&result.picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(margin, margin, image.convertToFormat(QImage::Format_RGB32));
  return result;
}

}  // namespace velmora
