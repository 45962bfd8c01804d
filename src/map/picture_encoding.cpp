#include "map/picture_encoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QString>

#include "platform/errors.h"

namespace velmora {

std::string EncodePicture(const QImage& picture, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(picture)) {
    throw Exception("cannot encode the picture as " + std::string(format) + ": " +
                    writer.errorString().toStdString());
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace velmora
