#include "grid/extent.h"

namespace velmora {

std::optional<Extent> Extent::Read(std::string_view northWest, std::string_view southEast) {
  const auto checked = CheckExtent(northWest, southEast);
  if (const Extent* extent = std::get_if<Extent>(&checked)) return *extent;
  return std::nullopt;
}

std::variant<Extent, ExtentProblem> CheckExtent(Sheet northWest, Sheet southEast) {
  if (southEast < northWest) return ExtentProblem::SouthEastBeforeNorthWest;
  if (southEast.ColumnIndex() < northWest.ColumnIndex()) {
    return ExtentProblem::SouthEastWestOfNorthWest;
  }
  return Extent(northWest, southEast);
}

std::variant<Extent, ExtentProblem> CheckExtent(std::string_view northWest,
                                                std::string_view southEast) {
  const std::optional<Sheet> nw = Sheet::Read(northWest);
  if (!nw) return ExtentProblem::NorthWestNotASheet;
  const std::optional<Sheet> se = Sheet::Read(southEast);
  if (!se) return ExtentProblem::SouthEastNotASheet;
  return CheckExtent(*nw, *se);
}

bool IsExtentOrdered(std::string_view northWest, std::string_view southEast) {
  const auto checked = CheckExtent(northWest, southEast);
  const ExtentProblem* problem = std::get_if<ExtentProblem>(&checked);
  return !problem || *problem == ExtentProblem::SouthEastWestOfNorthWest;
}

bool IsExtentValid(std::string_view northWest, std::string_view southEast) {
  return std::holds_alternative<Extent>(CheckExtent(northWest, southEast));
}

}  // namespace velmora
