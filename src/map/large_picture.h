#pragma once

#include <QImage>
#include <QSize>

namespace velmora {

// A new RGB32 picture of `size`, its pixels not yet set, in memory mapped in
// huge pages where the system offers them (AllocateLargeBlock): the picture
// of a large extent takes hundreds of megabytes, which, four kilobytes at a
// time, cost more to fault in than the whole map costs to draw. A null image
// when the size is empty or larger than an image's byte offsets reach, or
// when the memory cannot be had.
QImage LargePicture(QSize size);

}  // namespace velmora
