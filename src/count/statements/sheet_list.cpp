#include "count/statements/sheet_list.h"

namespace velmora {

std::string SheetListSql(const MapState& state) {
  std::string list = "(";
  for (const std::string& sheet : SheetsOf(state)) {
    if (list.size() > 1) list += ',';
    list += '\'';
    list += sheet;
    list += '\'';
  }
  list += ')';
  return list;
}

}  // namespace velmora
