#include "velmora-map/map_options.h"

#include <QSize>
#include <charconv>

#include "map/background.h"
#include "platform/color_text.h"
#include "platform/errors.h"

namespace velmora::cli {
namespace {

constexpr int kSmallestFontSize = 1;
constexpr int kLargestFontSize = 1000;

std::string ColorNameList() {
  std::string names;
  for (const NamedColor& color : ColorNames()) {
    names += names.empty() ? "" : ", ";
    names += color.name;
  }
  return names;
}

}  // namespace

TColor CheckedColor(std::string_view source, const std::string& text) {
  try {
    return StringToColor(text);
  } catch (const ConvertError&) {
    throw UsageError(std::string(source) + ": '" + text +
                     "' is not a colour; give $00BBGGRR (blue, green and red in hexadecimal) "
                     "or one of the names " +
                     ColorNameList());
  }
}

TColor ColorOption(const OptionReader& options, std::string_view name, TColor fallback) {
  const std::optional<std::string> text = options.Optional(name);
  return text ? CheckedColor(name, *text) : fallback;
}

std::string CheckedFontSize(std::string_view source, std::string_view text) {
  int size = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, size);
  if (error != std::errc() || last != end || size < kSmallestFontSize || size > kLargestFontSize) {
    throw UsageError(std::string(source) + " takes a font size in points from " +
                     std::to_string(kSmallestFontSize) + " to " + std::to_string(kLargestFontSize) +
                     ", not '" + std::string(text) + "'");
  }
  return std::to_string(size);
}

std::string FontSizeOption(const OptionReader& options, std::string_view name,
                           std::string_view fallback) {
  const std::optional<std::string> text = options.Optional(name);
  return text ? CheckedFontSize(name, *text) : std::string(fallback);
}

void CheckPictureSize(std::int64_t width, std::int64_t height, bool force) {
  const std::int64_t pixels = width * height;
  if (force || pixels <= kLargestUnforcedPicture) return;
  const std::int64_t megapixels = (pixels + 999'999) / 1'000'000;
  throw UsageError("the picture would be " + std::to_string(width) + " x " +
                   std::to_string(height) + " pixels (" + std::to_string(megapixels) +
                   " megapixels, more than 500); give --force to make it all the same");
}

void CheckMapPictureSize(const std::string& path, const MapState& map, bool force) {
  const std::optional<QSize> image = DeclaredBmpSize(path);
  if (!image || map.SheetColumns <= 0 || map.SheetRows <= 0) return;
  const Margins margins = MarginsOf(*image, map.SheetColumns, map.SheetRows);
  CheckPictureSize(std::int64_t{image->width()} + margins.left,
                   std::int64_t{image->height()} + margins.top, force);
}

}  // namespace velmora::cli
