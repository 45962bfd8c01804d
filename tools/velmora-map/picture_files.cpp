#include "velmora-map/picture_files.h"

#include <cstdio>

#include "map/picture_encoding.h"
#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::cli {

void SavePicture(const QImage& picture, const std::string& path, const char* format) {
  const std::string bytes = EncodePicture(picture, format);
  try {
    ReplaceFile(path, bytes);
  } catch (const FileWriteError& e) {
    throw Exception("cannot write '" + path + "': " + e.Reason());
  }
}

void ReportWritten(const std::string& path, const QImage& picture) {
  std::printf("%s: %d x %d pixels\n", path.c_str(), picture.width(), picture.height());
}

}  // namespace velmora::cli
