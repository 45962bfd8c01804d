#pragma once

#include <QImage>
#include <string>

namespace velmora::cli {

// Writes the picture in Qt's `format` ("PNG", "BMP"). It is encoded whole
// before anything touches the disk, then replaces the file in one step: a
// failure leaves the old file as it was. Throws Exception naming the file.
void SavePicture(const QImage& picture, const std::string& path, const char* format);

// Says on standard output where the picture went and its size; standard
// output carries nothing else.
void ReportWritten(const std::string& path, const QImage& picture);

}  // namespace velmora::cli
