#pragma once

#include <QImage>

namespace velmora::cli {

// A made-up landscape - sea, coast, fields, forests, a river and towns - of
// `sheetColumns` x `sheetRows` sheets of `sheetSize` pixels, for trying the map
// without a real background. The same arguments always give the same picture.
QImage LandPicture(int sheetColumns, int sheetRows, int sheetSize);

}  // namespace velmora::cli
