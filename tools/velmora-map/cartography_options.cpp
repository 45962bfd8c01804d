#include "velmora-map/cartography_options.h"

#include <charconv>
#include <limits>
#include <string>

namespace velmora::cli {
namespace {

constexpr int kFewestClasses = 2;
constexpr int kMostClasses = 12;

std::vector<int> ReadBreaks(std::string_view text) {
  std::vector<int> breaks = ReadRisingNumbers("--breaks", text, 1, std::numeric_limits<int>::max(),
                                              std::numeric_limits<size_t>::max());
  if (breaks.size() > kMostClasses) {
    throw UsageError("--breaks makes at most " + std::to_string(kMostClasses) + " classes, not " +
                     std::to_string(breaks.size()));
  }
  return breaks;
}

std::string PaletteNames() {
  std::string names;
  for (const Palette& palette : Palettes()) {
    names += names.empty() ? "" : ", ";
    names += palette.name;
  }
  return names;
}

CellValues ReadValues(const OptionReader& given) {
  const std::string text = given.Optional("--values").value_or("on");
  if (text == "on") return CellValues::On;
  if (text == "off") return CellValues::Off;
  if (text == "fit") return CellValues::Fit;
  throw UsageError("--values takes on, off or fit, not '" + text + "'");
}

}  // namespace

std::vector<int> ReadRisingNumbers(std::string_view option, std::string_view text, int lowest,
                                   int highest, size_t most) {
  const std::string range =
      std::to_string(lowest) +
      (highest == std::numeric_limits<int>::max() ? "" : " to " + std::to_string(highest));
  std::vector<int> numbers;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view item = text.substr(start, comma - start);
    int value = 0;
    const auto [last, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (item.empty() || error != std::errc() || last != item.data() + item.size() ||
        value < lowest || value > highest) {
      throw UsageError(std::string(option) + " takes whole numbers from " + range +
                       ", separated by commas, not '" + std::string(item) + "'");
    }
    if (!numbers.empty() && value == numbers.back()) {
      throw UsageError(std::string(option) + " names " + std::to_string(value) + " twice");
    }
    if (!numbers.empty() && value < numbers.back()) {
      throw UsageError(std::string(option) + " must rise, but " + std::to_string(value) +
                       " follows " + std::to_string(numbers.back()));
    }
    numbers.push_back(value);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (numbers.size() > most) {
    throw UsageError(std::string(option) + " takes at most " + std::to_string(most) +
                     " numbers, not " + std::to_string(numbers.size()));
  }
  return numbers;
}

std::vector<KnownOption> WithCartographyOptions(std::span<const KnownOption> own) {
  std::vector<KnownOption> options(own.begin(), own.end());
  options.insert(options.end(), std::begin(kCartographyOptions), std::end(kCartographyOptions));
  return options;
}

Cartography ReadCartography(const OptionReader& given) {
  Cartography cartography;
  if (given.Has("--classes") && given.Has("--breaks")) {
    throw UsageError("give --classes or --breaks, not both");
  }
  if (const auto classes = given.WholeNumber("--classes", kFewestClasses, kMostClasses)) {
    cartography.classes = ClassRule{*classes, {}};
  } else if (const auto breaks = given.Optional("--breaks")) {
    cartography.classes = ClassRule{0, ReadBreaks(*breaks)};
  }
  for (const char* option : {"--palette", "--fill-opacity"}) {
    if (given.Has(option) && !cartography.classes) {
      throw UsageError(std::string(option) + " colours classes: give --classes or --breaks");
    }
  }
  if (const auto name = given.Optional("--palette")) {
    cartography.palette = PaletteByName(*name);
    if (!cartography.palette) {
      throw UsageError("--palette: there is no palette '" + *name + "'; choose one of " +
                       PaletteNames());
    }
  }
  cartography.fillOpacity =
      given.WholeNumber("--fill-opacity", 0, 100).value_or(kDefaultFillOpacity);
  cartography.values = ReadValues(given);
  cartography.legend = given.Has("--legend");
  cartography.title = given.Optional("--title").value_or("");
  return cartography;
}

}  // namespace velmora::cli
