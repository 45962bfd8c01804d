#include "velmora-map/picture_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QString>
#include <cstdio>
#include <string_view>

#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora::cli {

void SavePicture(const QImage& picture, const std::string& path, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) {
    throw Exception("cannot encode the picture as " + std::string(format) + ": " +
                    writer.errorString().toStdString());
  }
  try {
    ReplaceFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  } catch (const FileWriteError& e) {
    throw Exception("cannot write '" + path + "': " + e.Reason());
  }
}

void ReportWritten(const std::string& path, const QImage& picture) {
  std::printf("%s: %d x %d pixels\n", path.c_str(), picture.width(), picture.height());
}

}  // namespace velmora::cli
