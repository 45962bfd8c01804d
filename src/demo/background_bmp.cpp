#include "demo/background_bmp.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <string_view>

#include "demo/landscape.h"
#include "platform/replace_file.h"

namespace velmora::demo {

BmpSize BackgroundSize(const Extent& extent) {
  const int tileWidth =
      std::clamp(4000 / std::max(extent.SheetRows(), extent.SheetColumns()), 16, 240);
  return {tileWidth * extent.SheetColumns(), tileWidth * 14 / 15 * extent.SheetRows()};
}

void WriteBackgroundBmp(const std::filesystem::path& path, const Extent& extent,
                        std::uint64_t seed) {
  const BmpSize size = BackgroundSize(extent);
  const QImage picture =
      Landscape(extent.SheetColumns(), extent.SheetRows(),
                {size.width / extent.SheetColumns(), size.height / extent.SheetRows()}, seed);
  // Encoded whole before the file is touched; Qt writes a picture without
  // alpha as a 24-bit BMP.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "BMP")) throw FileWriteError(path, "the picture could not be made");
  ReplaceFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace velmora::demo
