#include "map/png_encoding.h"

#include <png.h>

#include <csetjmp>

#include "platform/errors.h"

namespace velmora {
namespace {

// Maps are drawn at the display's 96 pixels per inch.
constexpr png_uint_32 kPixelsPerMetre = 3780;

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// libpng reports its errors by a jump back here; only plain values live in
// this frame, so the jump leaves nothing undone. Gives libpng's message, or
// nothing when the picture was written.
const char* WritePng(const QImage& picture, std::string& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return "out of memory";
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return "libpng failed";
  }
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
               static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, kPixelsPerMetre, kPixelsPerMetre, PNG_RESOLUTION_METER);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  // RGB32 holds a pixel as the 32-bit number 0xffRRGGBB: on this
  // little-endian machine the bytes blue, green, red and an unused one.
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < picture.height(); ++y) {
    png_write_row(png, const_cast<png_bytep>(picture.constScanLine(y)));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return nullptr;
}

}  // namespace

std::string EncodePngQuickly(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  std::string out;
  if (const char* failure = WritePng(rgb, out)) {
    throw Exception("cannot encode the picture as PNG: " + std::string(failure));
  }
  return out;
}

}  // namespace velmora
