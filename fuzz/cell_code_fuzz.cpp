// Cell codes made from numbers that come from outside: a point in the grid
// frame as the geodetic library hands it over (any double, NaN and infinities
// included), and a cell position in a map. A code is empty, or begins with a
// valid sheet number and then has only a "/" and digits of its grid type.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "grid/cell_list.h"
#include "grid/coordinate_conversion.h"
#include "grid/grid_types.h"
#include "grid/sheet.h"

namespace {

void CheckCode(std::string_view code, std::string_view digits) {
  if (code.empty()) return;
  const std::size_t slash = code.find('/');
  if (!velmora::IsValidSheetNumber(code.substr(0, slash))) std::abort();
  if (slash == std::string_view::npos) return;
  const std::string_view cell = code.substr(slash + 1);
  if (cell.empty() || cell.find_first_not_of(digits) != std::string_view::npos) std::abort();
}

template <typename T>
T Take(const std::uint8_t*& data) {
  T value;
  std::memcpy(&value, data, sizeof value);
  data += sizeof value;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  if (size < 2 * sizeof(double) + 2 * sizeof(std::int32_t) + 3) return 0;
  const double latitude = Take<double>(data);
  const double longitude = Take<double>(data);
  CheckCode(QuadrantCellCode(latitude, longitude), "1234");
  CheckCode(MinuteFieldCellCode(latitude, longitude), "12345");

  const auto column = Take<std::int32_t>(data);
  const auto row = Take<std::int32_t>(data);
  const Sheet northWest(Take<std::uint8_t>(data) % 100, Take<std::uint8_t>(data) % 200);
  const GridTypeInfo& type = kGridTypes[Take<std::uint8_t>(data) % kGridTypes.size()];
  CheckCode(CellCodeAt(column, row, northWest, type), "12345");
  return 0;
}
