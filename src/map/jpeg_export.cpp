#include "map/jpeg_export.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora {
namespace {

constexpr int kQuality = 90;

// libjpeg's errors end in error_exit, which would end the process. Ours jumps
// back to the one place that started the library's work; no C++ object with a
// destructor lives between that place and the library's frames.
struct JumpingErrors {
  jpeg_error_mgr manager;
  std::jmp_buf back;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  auto* errors = reinterpret_cast<JumpingErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->back, 1);
}

// Warnings change nothing in the file; a library has no business on stderr.
void KeepQuiet(j_common_ptr) {}

// The library writes into a string that grows as it fills.
struct StringDestination {
  jpeg_destination_mgr manager;  // first, so that the library's pointer is ours
  std::string* bytes;
};

StringDestination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<StringDestination*>(info->dest);
}

// Gives the string `size` bytes; false when there is no memory for them.
bool Resize(std::string& bytes, std::size_t size) noexcept {
  try {
    bytes.resize(size);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The library's error jumps out of here; no exception may be live then.
void Fill(j_compress_ptr info, std::size_t written, std::size_t size) {
  StringDestination& destination = DestinationOf(info);
  if (!Resize(*destination.bytes, size)) ERREXIT(info, JERR_OUT_OF_MEMORY);
  destination.manager.next_output_byte =
      reinterpret_cast<JOCTET*>(destination.bytes->data()) + written;
  destination.manager.free_in_buffer = size - written;
}

void StartString(j_compress_ptr info) { Fill(info, 0, 64 * 1024); }

// Called when the whole string is full: doubles it.
boolean GrowString(j_compress_ptr info) {
  const std::size_t full = DestinationOf(info).bytes->size();
  Fill(info, full, 2 * full);
  return TRUE;
}

void EndString(j_compress_ptr info) {
  StringDestination& destination = DestinationOf(info);
  destination.bytes->resize(destination.bytes->size() - destination.manager.free_in_buffer);
}

// One compression into memory; owns the library's state, freed on every path.
class Compression {
 public:
  Compression() {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = JumpBack;
    errors_.manager.output_message = KeepQuiet;
    destination_.manager.init_destination = StartString;
    destination_.manager.empty_output_buffer = GrowString;
    destination_.manager.term_destination = EndString;
    destination_.bytes = &bytes_;
  }
  ~Compression() { jpeg_destroy_compress(&info_); }  // nothing to do before it was created
  Compression(const Compression&) = delete;
  Compression& operator=(const Compression&) = delete;

  // Compresses the RGB32 picture, one row at a time through `row` (3 bytes a
  // pixel); false with Message() set when the library failed.
  bool Run(const QImage& picture, std::vector<JSAMPLE>& row) {
    if (setjmp(errors_.back) != 0) return false;
    jpeg_create_compress(&info_);
    info_.dest = &destination_.manager;
    info_.image_width = static_cast<JDIMENSION>(picture.width());
    info_.image_height = static_cast<JDIMENSION>(picture.height());
    info_.input_components = 3;
    info_.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info_);
    jpeg_set_quality(&info_, kQuality, TRUE);  // baseline: table entries up to 255
    jpeg_start_compress(&info_, TRUE);
    JSAMPROW rows[1] = {row.data()};
    while (info_.next_scanline < info_.image_height) {
      const auto* pixels = reinterpret_cast<const QRgb*>(
          picture.constScanLine(static_cast<int>(info_.next_scanline)));
      for (int x = 0; x < picture.width(); ++x) {
        row[3 * x] = static_cast<JSAMPLE>(qRed(pixels[x]));
        row[3 * x + 1] = static_cast<JSAMPLE>(qGreen(pixels[x]));
        row[3 * x + 2] = static_cast<JSAMPLE>(qBlue(pixels[x]));
      }
      jpeg_write_scanlines(&info_, rows, 1);
    }
    jpeg_finish_compress(&info_);
    return true;
  }

  std::string TakeBytes() { return std::move(bytes_); }
  const char* Message() const { return errors_.message; }

 private:
  jpeg_compress_struct info_{};
  JumpingErrors errors_{};
  StringDestination destination_{};
  std::string bytes_;
};

}  // namespace

JpegEncodeError::JpegEncodeError(std::string reason)
    : Exception("The map could not be encoded as JPEG: " + reason), reason_(std::move(reason)) {}

std::filesystem::path ExportFilePath(const std::filesystem::path& chosen) {
  if (!chosen.has_filename()) return chosen;
  std::string extension = chosen.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".jpg" || extension == ".jpeg") return chosen;
  std::filesystem::path file = chosen;
  file += extension == "." ? kExportDefaultExtension : std::string(".") + kExportDefaultExtension;
  return file;
}

std::string EncodeJpeg(const QImage& picture) {
  if (picture.isNull()) throw Exception("There is no map to export: no background image is loaded");
  // Each row goes to 24 bits on its own, so a large picture is not copied whole.
  const QImage rgb32 =
      picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
          ? picture
          : picture.convertToFormat(QImage::Format_RGB32);
  std::vector<JSAMPLE> row(3 * static_cast<std::size_t>(rgb32.width()));
  Compression compression;
  if (!compression.Run(rgb32, row)) {
    throw JpegEncodeError(compression.Message());
  }
  return compression.TakeBytes();
}

void ExportJpeg(const QImage& picture, const std::filesystem::path& file) {
  ReplaceFile(file, EncodeJpeg(picture));
}

}  // namespace velmora
