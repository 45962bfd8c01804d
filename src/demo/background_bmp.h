#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "demo/demo_extent.h"

namespace velmora::demo {

struct BmpSize {
  int width;
  int height;
};

// The picture size for an extent: sheet-sized tiles of up to 240 x 224 pixels
// (a sheet is about 12 km wide and 11 km high), smaller for large extents.
BmpSize BackgroundSize(const Extent& extent);

// The made-up Landscape of the extent as the bytes of a 24-bit BMP file of
// BackgroundSize, the same for the same seed.
std::string BackgroundBmp(const Extent& extent, std::uint64_t seed);

// Writes BackgroundBmp to `path`, replaced when complete.
void WriteBackgroundBmp(const std::filesystem::path& path, const Extent& extent,
                        std::uint64_t seed);

}  // namespace velmora::demo
