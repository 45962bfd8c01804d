#include "demo/background_bmp.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>

#include "demo/landscape.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::demo {

BmpSize BackgroundSize(const Extent& extent) {
  const int tileWidth =
      std::clamp(4000 / std::max(extent.SheetRows(), extent.SheetColumns()), 16, 240);
  return {tileWidth * extent.SheetColumns(), tileWidth * 14 / 15 * extent.SheetRows()};
}

std::string BackgroundBmp(const Extent& extent, std::uint64_t seed) {
  const BmpSize size = BackgroundSize(extent);
  const QImage picture =
      Landscape(extent.SheetColumns(), extent.SheetRows(),
                {size.width / extent.SheetColumns(), size.height / extent.SheetRows()}, seed);
  // Qt writes a picture without alpha as a 24-bit BMP.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "BMP")) throw Exception("the background picture could not be made");
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void WriteBackgroundBmp(const std::filesystem::path& path, const Extent& extent,
                        std::uint64_t seed) {
  ReplaceFile(path, BackgroundBmp(extent, seed));
}

}  // namespace velmora::demo
