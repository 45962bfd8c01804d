#include "grid/grid_types.h"

#include <algorithm>
#include <cmath>

namespace velmora {

const GridTypeInfo* GridTypeByItem(int item) {
  if (item < 0 || item >= static_cast<int>(kGridTypes.size())) return nullptr;
  return &kGridTypes[item];
}

const GridTypeInfo* GridTypeByName(std::string_view name) {
  const auto it = std::find_if(kGridTypes.begin(), kGridTypes.end(),
                               [name](const GridTypeInfo& t) { return t.name == name; });
  return it == kGridTypes.end() ? nullptr : &*it;
}

const GridTypeInfo* GridTypeByCellsPerSheet(int cellsPerSheet) {
  const auto it = std::find_if(
      kGridTypes.begin(), kGridTypes.end(),
      [cellsPerSheet](const GridTypeInfo& t) { return t.cellsPerSheet == cellsPerSheet; });
  return it == kGridTypes.end() ? nullptr : &*it;
}

const GridSystemInfo* GridSystemByItem(int item) {
  if (item < 0 || item >= static_cast<int>(kGridSystems.size())) return nullptr;
  return &kGridSystems[item];
}

const GridSystemInfo* GridSystemByCode(std::string_view code) {
  const auto it = std::find_if(kGridSystems.begin(), kGridSystems.end(),
                               [code](const GridSystemInfo& s) { return s.code == code; });
  return it == kGridSystems.end() ? nullptr : &*it;
}

SheetDivision DivisionOf(int cellsPerSheet) {
  if (cellsPerSheet == 60) return {6, 10};
  if (cellsPerSheet < 1) return {0, 0};
  long long n = static_cast<long long>(std::sqrt(static_cast<double>(cellsPerSheet)));
  while (n * n > cellsPerSheet) --n;
  while ((n + 1) * (n + 1) <= cellsPerSheet) ++n;
  return {static_cast<int>(n), static_cast<int>(n)};
}

int CodeLengthOf(int cellsPerSheet) {
  const GridTypeInfo* type = GridTypeByCellsPerSheet(cellsPerSheet);
  return type ? type->codeLength : kGridTypes[0].codeLength;
}

}  // namespace velmora
