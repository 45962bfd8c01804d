#include "map/background.h"

#include <QImageReader>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "map/rounding.h"

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

QImage ReadBmp(const std::string& path) {
  const ReadLimitOfAPicture limit;
  QImageReader reader(QString::fromStdString(path), "bmp");
  return reader.read();
}

}  // namespace

std::optional<MapPicture> LoadBackgroundImage(const std::string& path, int sheetColumns,
                                              int sheetRows) {
  if (path.empty() || sheetColumns <= 0 || sheetRows <= 0) return std::nullopt;
  const QImage image = ReadBmp(path);
  if (image.isNull()) return std::nullopt;

  const int sheetWidth = RoundHalfEven(static_cast<double>(image.width()) / sheetColumns);
  const int sheetHeight = RoundHalfEven(static_cast<double>(image.height()) / sheetRows);
  const int margin = RoundHalfEven(std::max(sheetWidth, sheetHeight) / 2.0);

  const std::optional<QSize> size = PictureSize(image.size(), margin);
  if (!size) return std::nullopt;
  MapPicture result{QImage(*size, QImage::Format_RGB32), {margin, margin}};
  if (result.picture.isNull()) return std::nullopt;  // more than an image can hold

  result.picture.fill(Qt::white);
  // A copy, not a blend: any alpha channel of the file is not the map's concern.
  QPainter painter(&result.picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(margin, margin, image.convertToFormat(QImage::Format_RGB32));
  return result;
}

}  // namespace velmora
