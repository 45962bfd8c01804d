#include "grid/grid_types.h"

#include <algorithm>

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

const GridSystemInfo* GridSystemByItem(int item) {
  if (item < 0 || item >= static_cast<int>(kGridSystems.size())) return nullptr;
  return &kGridSystems[item];
}

const GridSystemInfo* GridSystemByCode(std::string_view code) {
  const auto it = std::find_if(kGridSystems.begin(), kGridSystems.end(),
                               [code](const GridSystemInfo& s) { return s.code == code; });
  return it == kGridSystems.end() ? nullptr : &*it;
}

int OfferedGridTypeItem(int gridSystemItem, int gridTypeItem) {
  const GridSystemInfo* system = GridSystemByItem(gridSystemItem);
  const GridTypeInfo* type = GridTypeByItem(gridTypeItem);
  if (!system || !type || system->offersGridType[type->item]) return gridTypeItem;
  return kMesstischblatt.item;
}

const GridTypeInfo& GridTypeOfCellsPerSheet(int cellsPerSheet) {
  const auto it = std::find_if(
      kGridTypes.begin(), kGridTypes.end(),
      [cellsPerSheet](const GridTypeInfo& t) { return t.cellsPerSheet == cellsPerSheet; });
  return it == kGridTypes.end() ? kMesstischblatt : *it;
}

}  // namespace velmora
