#pragma once

#include <QImage>
#include <string>

namespace velmora {

// The picture as the bytes of a file in `format`, one that Qt writes ("PNG",
// "BMP"), made whole before any file is touched, so that the file is written
// through the checked replacement. Throws Exception with the encoder's
// message when it fails.
std::string EncodePicture(const QImage& picture, const char* format);

}  // namespace velmora
