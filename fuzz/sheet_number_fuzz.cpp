// Sheet numbers as the user types them into the two corner fields and as the
// settings file and the command lines hand them over. Every reader of them
// agrees with the others, and a number read is written back as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <variant>

#include "grid/extent.h"
#include "grid/grid_types.h"
#include "grid/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The north-west and the south-east field, apart at the first line break.
  const std::size_t split = input.find('\n');
  const std::string_view northWest = input.substr(0, split);
  const std::string_view southEast =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  for (const std::string_view text : {northWest, southEast}) {
    const std::optional<Sheet> sheet = Sheet::Read(text);
    if (sheet.has_value() != IsValidSheetNumber(text)) std::abort();
    if (sheet && sheet->Number() != text) std::abort();
    NormaliseSheetNumber(text);
    GridTypeByName(text);
    GridSystemByCode(text);
  }

  const std::optional<Extent> extent = Extent::Read(northWest, southEast);
  if (std::holds_alternative<Extent>(CheckExtent(northWest, southEast)) != extent.has_value() ||
      IsExtentValid(northWest, southEast) != extent.has_value()) {
    std::abort();
  }
  if (extent && (extent->SheetRows() < 1 || extent->SheetColumns() < 1 ||
                 !IsExtentOrdered(northWest, southEast))) {
    std::abort();
  }
  return 0;
}
