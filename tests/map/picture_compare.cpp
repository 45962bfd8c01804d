#include "picture_compare.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "map/map_font.h"
#include "map/text_metrics.h"
#include "support/file_bytes.h"

namespace velmora::testing {

QImage PictureWithTexts(QSize size, const std::vector<PlacedText>& texts, int points,
                        const QColor& color) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setFont(MapFont(points));
  painter.setPen(color);
  for (const PlacedText& placed : texts) DrawTextAt(painter, placed.x, placed.y, placed.text);
  return picture;
}

int DifferingPixels(const QImage& a, const QImage& b, const QRect& region,
                    const std::vector<int>& skippedColumns, const std::vector<int>& skippedRows) {
  int differing = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    if (std::ranges::find(skippedRows, y) != skippedRows.end()) continue;
    for (int x = region.left(); x <= region.right(); ++x) {
      if (std::ranges::find(skippedColumns, x) != skippedColumns.end()) continue;
      if (a.pixel(x, y) != b.pixel(x, y)) ++differing;
    }
  }
  return differing;
}

int PixelsOfColor(const QImage& picture, const QColor& color, const QRect& region) {
  int count = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      if (picture.pixelColor(x, y) == color) ++count;
    }
  }
  return count;
}

std::string SaveBmp(const QImage& picture, const TempFolder& folder, const std::string& name) {
  const std::string path = folder.PathOf(name);
  if (!picture.save(QString::fromStdString(path), "BMP")) throw std::runtime_error("not saved");
  return path;
}

std::string SaveBmpDeclaringSize(int width, int height, const TempFolder& folder,
                                 const std::string& name) {
  QImage one(1, 1, QImage::Format_RGB32);
  one.fill(Qt::white);
  const std::string path = SaveBmp(one, folder, name);
  std::string bytes = ReadFileBytes(path);
  // Width and height, little-endian, at offsets 18 and 22 of the file.
  const auto put = [&bytes](int offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  };
  put(18, width);
  put(22, height);
  WriteFileBytes(path, bytes);
  return path;
}

}  // namespace velmora::testing
