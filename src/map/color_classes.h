#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/cell_list.h"

namespace velmora {

// How the counted cells of a map are put into classes: `quantiles` classes of
// as nearly equal numbers of cells as ties allow, or, when `breaks` are given,
// one class from each break up to the next (the last one open upwards).
struct ClassRule {
  int quantiles = 0;
  std::vector<int> breaks;  // rising
};

// Classes of counts, each a range of whole numbers, the lowest first.
struct ColorClasses {
  // The lowest count of each class, rising.
  std::vector<int> lower;
  // The highest count of the last class; nothing when it is open upwards.
  std::optional<int> highest;

  int Size() const { return static_cast<int>(lower.size()); }
  // The class of a count; -1 below the first class (such a cell is not filled).
  int ClassOf(int count) const;

  bool operator==(const ColorClasses&) const = default;
};

// Quantile classes of the counts (cells without a count left out): at most
// `classes` classes of as nearly equal numbers of counts as possible, the last
// ending at the largest count. A run of equal counts is never split: its class
// ends before it or takes it whole, whichever leaves the class nearer its
// share, and a class that would hold nothing is dropped, so ties, few
// distinct counts or few counts give fewer classes. No counts give none.
ColorClasses QuantileClasses(std::vector<int> counts, int classes);

// The classes the rule gives for these counts.
ColorClasses ClassesOf(const ClassRule& rule, std::vector<int> counts);

// The range of class `index` as its legend shows it: "1–4", "7" for a class
// of one count, "≥ 50" for a last class open upwards.
std::string ClassRangeText(const ColorClasses& classes, int index);

// A cell's Count as a number; 0 for "0" and for a text that is no count.
int CountOfCell(const TGrid& cell);

// The counts of the counted cells of the list, row by row.
std::vector<int> CountsOfCells(const TGrids& grids);

}  // namespace velmora
