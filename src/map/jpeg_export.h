#pragma once

#include <QImage>
#include <filesystem>
#include <string>

#include "platform/errors.h"

namespace velmora {

// The extension an exported map gets when the chosen name has none of JPEG's.
inline constexpr const char* kExportDefaultExtension = "jpg";

// The file an export writes for the name the user chose: the name itself when
// it ends in ".jpg" or ".jpeg" (in any case), else the name with ".jpg", as
// the dialog's JPEG filter adds it ("map" and "map." give "map.jpg",
// "map.png" gives "map.png.jpg"): JPEG data under another picture's
// extension would be taken for that kind, and could replace such a picture.
// A leading dot names a hidden file, not an extension (".map" gives
// ".map.jpg"). A folder ("maps/") stays as it is, for the writing to refuse.
std::filesystem::path ExportFilePath(const std::filesystem::path& chosen);

// The encoder refused the picture ("The map could not be encoded as JPEG:
// ..."); Reason() is the encoder's own message alone.
class JpegEncodeError : public Exception {
 public:
  explicit JpegEncodeError(std::string reason);
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

// The picture as a JPEG file: its own size, 24-bit RGB, the library's default
// parameters with quality 90 and baseline tables, sequential, in colour.
// Throws Exception when there is no picture, JpegEncodeError when the encoder
// fails (a picture wider or taller than JPEG allows, for instance).
std::string EncodeJpeg(const QImage& picture);

// Encodes the picture and writes it to `file` beside it, renamed over it when
// complete: a failure leaves an existing file as it was and nothing beside it.
// Throws Exception (FileWriteError for the file).
void ExportJpeg(const QImage& picture, const std::filesystem::path& file);

}  // namespace velmora
