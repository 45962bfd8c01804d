#include "arguments.h"

#include <cstdio>
#include <exception>
#include <string>
#include <variant>

#include "grid/extent.h"
#include "grid/grid_types.h"

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

namespace {

std::string MessageOf(ExtentProblem problem, std::string_view northWest,
                      std::string_view southEast) {
  switch (problem) {
    case ExtentProblem::NorthWestNotASheet:
      return "'" + std::string(northWest) +
             "' is not a sheet number (four digits, or W and four digits)";
    case ExtentProblem::SouthEastNotASheet:
      return "'" + std::string(southEast) +
             "' is not a sheet number (four digits, or W and four digits)";
    case ExtentProblem::SouthEastBeforeNorthWest:
      return "the south-east sheet " + std::string(southEast) +
             " lies before the north-west sheet " + std::string(northWest);
    case ExtentProblem::SouthEastWestOfNorthWest:
      break;
  }
  return "the south-east sheet " + std::string(southEast) + " lies west of the north-west sheet " +
         std::string(northWest);
}

}  // namespace

MapState BuildExtent(std::string_view northWest, std::string_view southEast, int gridTypeItem,
                     int gridSystemItem) {
  const auto extent = CheckExtent(northWest, southEast);
  if (const ExtentProblem* problem = std::get_if<ExtentProblem>(&extent)) {
    throw UsageError(MessageOf(*problem, northWest, southEast));
  }
  MapState state;
  BuildCellList({gridTypeItem, gridSystemItem, std::get<Extent>(extent), ""}, state);
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
