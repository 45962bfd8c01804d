#pragma once

#include <QImage>
#include <string>

namespace velmora {

// The picture as the bytes of a PNG file, made for speed where thousands of
// maps are written: each row filtered by the one above it and packed at
// zlib's fastest level, in about half the time Qt's writer takes at its
// fastest and to about the same size for maps over a background. Throws
// Exception with libpng's message when it fails.
std::string EncodePngQuickly(const QImage& picture);

}  // namespace velmora
