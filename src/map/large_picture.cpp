#include "map/large_picture.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "count/large_blocks.h"

namespace velmora {
namespace {

struct Block {
  void* pixels = nullptr;
  std::size_t bytes = 0;
};

// The picture's cleanup: it gives its block back when its last copy goes.
void Release(void* info) {
  const std::unique_ptr<Block> block(static_cast<Block*>(info));
  FreeLargeBlock(block->pixels, block->bytes);
}

}  // namespace

QImage LargePicture(QSize size) {
  if (size.isEmpty()) return {};
  const std::int64_t bytesPerLine = std::int64_t{size.width()} * 4;
  const std::int64_t bytes = bytesPerLine * size.height();
  // Pixels are addressed with int byte offsets on many platforms.
  if (bytes > std::numeric_limits<int>::max()) return {};
  auto block = std::make_unique<Block>();
  try {
    block->pixels = AllocateLargeBlock(static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return {};
  }
  block->bytes = static_cast<std::size_t>(bytes);
  QImage picture(static_cast<uchar*>(block->pixels), size.width(), size.height(), bytesPerLine,
                 QImage::Format_RGB32, Release, block.get());
  if (picture.isNull()) {
    Release(block.release());
    return {};
  }
  block.release();
  return picture;
}

}  // namespace velmora
