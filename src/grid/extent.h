#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "grid/sheet.h"

namespace velmora {

// What keeps two corner sheets from making a map, in the order the extent
// check looks for it.
enum class ExtentProblem {
  NorthWestNotASheet,
  SouthEastNotASheet,
  // A row further north, or the same row and a column further west.
  SouthEastBeforeNorthWest,
  // A row further south but a column further west: the rectangle would have
  // no sheet columns.
  SouthEastWestOfNorthWest,
};

// A rectangle of sheets from its north-west to its south-east corner sheet,
// both included. Only the extent check makes one, so every extent holds at
// least one sheet.
class Extent {
 public:
  // Nothing when CheckExtent finds a problem.
  static std::optional<Extent> Read(std::string_view northWest, std::string_view southEast);

  Sheet NorthWest() const { return northWest_; }
  Sheet SouthEast() const { return southEast_; }
  int SheetRows() const { return southEast_.Row() - northWest_.Row() + 1; }
  int SheetColumns() const { return southEast_.ColumnIndex() - northWest_.ColumnIndex() + 1; }

  bool operator==(const Extent&) const = default;

 private:
  friend std::variant<Extent, ExtentProblem> CheckExtent(Sheet northWest, Sheet southEast);
  Extent(Sheet northWest, Sheet southEast) : northWest_(northWest), southEast_(southEast) {}

  Sheet northWest_;
  Sheet southEast_;
};

// The one check of a map's two corner sheets: the extent they make, or the
// first problem in the order of ExtentProblem. Callers word the problem.
std::variant<Extent, ExtentProblem> CheckExtent(Sheet northWest, Sheet southEast);
std::variant<Extent, ExtentProblem> CheckExtent(std::string_view northWest,
                                                std::string_view southEast);

// The south-east sheet does not come before the north-west one in row-first
// order; a south-east sheet west of the north-west one in a later row passes.
// False when either text is not a valid sheet number.
bool IsExtentOrdered(std::string_view northWest, std::string_view southEast);

// The two texts make an extent: CheckExtent finds no problem.
bool IsExtentValid(std::string_view northWest, std::string_view southEast);

}  // namespace velmora
