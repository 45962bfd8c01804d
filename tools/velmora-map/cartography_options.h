#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "cli/option_reader.h"
#include "map/cartography.h"

namespace velmora::cli {

// The options of a map's cartography: --classes N or --breaks A,B,...,
// --palette NAME, --fill-opacity PERCENT, --values on|off|fit, --legend and
// --title TEXT.
inline constexpr KnownOption kCartographyOptions[] = {
    {"--classes"}, {"--breaks"}, {"--palette"},       {"--fill-opacity"},
    {"--values"},  {"--title"},  {"--legend", false},
};

// Whole numbers from `lowest` to `highest`, separated by commas, rising, at
// most `most` of them; anything else is a UsageError naming the option.
std::vector<int> ReadRisingNumbers(std::string_view option, std::string_view text, int lowest,
                                   int highest, size_t most);

// A command's own options and those of the cartography.
std::vector<KnownOption> WithCartographyOptions(std::span<const KnownOption> own);

// Reads the cartography options; without them the dialog's picture. Refuses
// with a UsageError naming it: --classes outside 2 to 12, breaks that are no
// whole numbers from 1, do not rise or are more than 12, both --classes and
// --breaks, an unknown palette, an opacity outside 0 to 100, --palette or
// --fill-opacity without classes, and --values other than on, off or fit.
Cartography ReadCartography(const OptionReader& given);

}  // namespace velmora::cli
