#include "map/color_classes.h"

#include <algorithm>
#include <charconv>

namespace velmora {

int ColorClasses::ClassOf(int count) const {
  return static_cast<int>(std::ranges::upper_bound(lower, count) - lower.begin()) - 1;
}

ColorClasses QuantileClasses(std::vector<int> counts, int classes) {
  std::ranges::sort(counts);
  const auto n = static_cast<std::ptrdiff_t>(counts.size());
  if (n == 0 || classes < 1) return {};
  ColorClasses result{{counts.front()}, counts.back()};
  // `start` is where the class being filled begins; it takes its share of
  // what the classes still to come leave.
  std::ptrdiff_t start = 0;
  for (int left = classes; left > 1; --left) {
    const std::ptrdiff_t target = start + (2 * (n - start) + left) / (2 * left);
    if (target >= n) break;
    const auto run = std::ranges::equal_range(counts, counts[target]);
    const std::ptrdiff_t first = run.begin() - counts.begin();
    const std::ptrdiff_t end = run.end() - counts.begin();
    const std::ptrdiff_t next = first > start && target - first <= end - target ? first : end;
    if (next >= n) break;
    result.lower.push_back(counts[next]);
    start = next;
  }
  return result;
}

ColorClasses ClassesOf(const ClassRule& rule, std::vector<int> counts) {
  if (!rule.breaks.empty()) return {rule.breaks, std::nullopt};
  return QuantileClasses(std::move(counts), rule.quantiles);
}

std::string ClassRangeText(const ColorClasses& classes, int index) {
  const int low = classes.lower[index];
  const bool last = index + 1 == classes.Size();
  if (last && !classes.highest) return "≥ " + std::to_string(low);
  const int high = last ? *classes.highest : classes.lower[index + 1] - 1;
  if (high == low) return std::to_string(low);
  return std::to_string(low) + "–" + std::to_string(high);
}

int CountOfCell(const TGrid& cell) {
  int count = 0;
  const char* end = cell.Count.data() + cell.Count.size();
  const auto [last, error] = std::from_chars(cell.Count.data(), end, count);
  return error == std::errc() && last == end && count > 0 ? count : 0;
}

std::vector<int> CountsOfCells(const TGrids& grids) {
  std::vector<int> counts;
  for (const auto& row : grids) {
    for (const TGrid& cell : row) {
      if (const int count = CountOfCell(cell)) counts.push_back(count);
    }
  }
  return counts;
}

}  // namespace velmora
