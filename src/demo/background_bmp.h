#pragma once

#include <cstdint>
#include <filesystem>

#include "demo/demo_extent.h"

namespace velmora::demo {

struct BmpSize {
  int width;
  int height;
};

// The picture size for an extent: sheet-sized tiles of up to 240 x 224 pixels
// (a sheet is about 12 km wide and 11 km high), smaller for large extents.
BmpSize BackgroundSize(const Extent& extent);

// Writes the made-up Landscape of the extent as a 24-bit BMP of
// BackgroundSize, the same for the same seed.
void WriteBackgroundBmp(const std::filesystem::path& path, const Extent& extent,
                        std::uint64_t seed);

}  // namespace velmora::demo
