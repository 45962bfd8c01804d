#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/option_reader.h"
#include "grid/cell_list.h"
#include "platform/tcolor.h"

namespace velmora::cli {

// A colour option's value: a colour name (clRed) or $00BBGGRR; `fallback` when
// the option is not given. Anything else is a usage error that lists the names.
TColor ColorOption(const OptionReader& options, std::string_view name, TColor fallback);

// The colour of a text from elsewhere (a settings file), by the same rules;
// `source` names where the text came from in the message.
TColor CheckedColor(std::string_view source, const std::string& text);

// A font size option's value in points, 1 to 1000, as the text the drawing
// takes; `fallback` when the option is not given.
std::string FontSizeOption(const OptionReader& options, std::string_view name,
                           std::string_view fallback);

// The same check for a size from elsewhere (a settings file).
std::string CheckedFontSize(std::string_view source, std::string_view text);

// Pictures beyond this many pixels take gigabytes and are seldom meant: they
// are drawn only with --force.
inline constexpr std::int64_t kLargestUnforcedPicture = 500'000'000;

// Refuses a picture of more than kLargestUnforcedPicture pixels with a usage
// error that says its size, unless `force`.
void CheckPictureSize(std::int64_t width, std::int64_t height, bool force);

// CheckPictureSize for the map picture of the background BMP at `path` over
// the map's sheets, from the size in the file's header, before anything is
// loaded. A file whose size cannot be read is left to the loading to refuse.
void CheckMapPictureSize(const std::string& path, const MapState& map, bool force);

}  // namespace velmora::cli
