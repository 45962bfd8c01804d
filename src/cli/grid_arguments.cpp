#include "cli/grid_arguments.h"

#include <string>
#include <variant>

#include "grid/extent.h"

namespace velmora::cli {
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

const GridTypeInfo& ParseGridType(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') {
    if (const GridTypeInfo* type = GridTypeByItem(text[0] - '0')) return *type;
  }
  if (const GridTypeInfo* type = GridTypeByName(text)) return *type;
  std::string known;
  for (const GridTypeInfo& type : kGridTypes)
    known += (known.empty() ? "" : ", ") + std::string(type.name);
  throw UsageError("unknown grid type '" + std::string(text) + "' (use 0-4 or one of " + known +
                   ")");
}

const GridSystemInfo& ParseGridSystem(std::string_view code) {
  if (const GridSystemInfo* system = GridSystemByCode(code)) return *system;
  throw UsageError("unknown grid system '" + std::string(code) + "' (use QYX or QQQ)");
}

void CheckSystemOffersType(const GridSystemInfo& system, const GridTypeInfo& type) {
  if (!system.offersGridType[type.item]) {
    throw UsageError("the grid system " + std::string(system.code) + " offers no grid type " +
                     std::string(type.name));
  }
}

MapState BuildExtent(std::string_view northWest, std::string_view southEast,
                     const GridTypeInfo& gridType, const GridSystemInfo& gridSystem) {
  const auto extent = CheckExtent(northWest, southEast);
  if (const ExtentProblem* problem = std::get_if<ExtentProblem>(&extent)) {
    throw UsageError(MessageOf(*problem, northWest, southEast));
  }
  MapState state;
  BuildCellList({gridType.item, gridSystem.item, std::get<Extent>(extent), ""}, state);
  return state;
}

}  // namespace velmora::cli
