#include "arguments.h"

#include <cstdio>
#include <exception>
#include <string>

#include "grid/grid_types.h"
#include "grid/sheet.h"

namespace velmora::cli {

int ParseGridType(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
    if (const GridTypeInfo* type = GridTypeByItem(text[0] - '0')) return type->item;
  }
  if (const GridTypeInfo* type = GridTypeByName(text)) return type->item;
  std::string known;
  for (const GridTypeInfo& type : kGridTypes)
    known += (known.empty() ? "" : ", ") + std::string(type.name);
  throw UsageError("unknown grid type '" + std::string(text) + "' (use 0-4 or one of " + known +
                   ")");
}

MapState BuildExtent(std::string_view northWest, std::string_view southEast, int gridTypeItem,
                     int gridSystemItem) {
  for (const std::string_view sheet : {northWest, southEast}) {
    if (!IsValidSheetNumber(sheet)) {
      throw UsageError("'" + std::string(sheet) +
                       "' is not a sheet number (four digits, or W and four digits)");
    }
  }
  if (!IsExtentOrdered(northWest, southEast)) {
    throw UsageError("the south-east sheet " + std::string(southEast) +
                     " lies before the north-west sheet " + std::string(northWest));
  }
  if (Sheet::Read(southEast)->ColumnIndex() < Sheet::Read(northWest)->ColumnIndex()) {
    throw UsageError("the south-east sheet " + std::string(southEast) +
                     " lies west of the north-west sheet " + std::string(northWest));
  }
  MapState state;
  BuildCellList({gridTypeItem, gridSystemItem, std::string(northWest), std::string(southEast), ""},
                state);
  return state;
}

void ExpectArgumentCount(Arguments args, size_t count, std::string_view usage) {
  if (args.size() != count) throw UsageError("usage: velmora-count " + std::string(usage));
}

int RunReportingErrors(std::string_view program, const std::function<int()>& command) {
  try {
    return command();
  } catch (const UsageError& e) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), e.what());
    return 1;
  }
}

}  // namespace velmora::cli
