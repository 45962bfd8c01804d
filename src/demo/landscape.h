#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

namespace velmora::demo {

// A made-up landscape of `sheetColumns` x `sheetRows` map sheets of `sheet`
// pixels each, for trying a map without a real background: land in
// sheet-sized tiles of two shades, forests, lakes, rivers winding from west to
// east, roads and towns, as many of each per sheet whatever the size. The same
// arguments always give the same picture; a null picture when it is too large
// to hold.
QImage Landscape(int sheetColumns, int sheetRows, QSize sheet, std::uint64_t seed);

}  // namespace velmora::demo
