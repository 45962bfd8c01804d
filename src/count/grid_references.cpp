#include "count/grid_references.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

// The digits of the three levels below a sheet. Progressive quadrants number
// the four parts of every halving 1 to 4; minute fields give the quadrant
// (1-4), the row inside it (1-3) and the column inside it (1-5).
std::array<std::string_view, 3> LevelDigits(const GridSystemInfo& system) {
  if (system.code == kMinuteFieldSystemCode) return {"[1-4]", "[1-3]", "[1-5]"};
  return {"[1-4]", "[1-4]", "[1-4]"};
}

// Matches literal characters and [a-b] ranges, the whole text.
bool Matches(std::string_view pattern, std::string_view text) {
  size_t p = 0;
  for (const char c : text) {
    if (p == pattern.size()) return false;
    if (pattern[p] == '[') {
      if (c < pattern[p + 1] || c > pattern[p + 3]) return false;
      p += 5;
    } else {
      if (c != pattern[p]) return false;
      ++p;
    }
  }
  return p == pattern.size();
}

}  // namespace

std::vector<std::string> CellCodePatterns(const GridSystemInfo& system) {
  const std::array<std::string_view, 3> levels = LevelDigits(system);
  std::vector<std::string> patterns;
  for (const std::string_view west : {"", "W"}) {
    for (const GridTypeInfo& type : kGridTypes) {
      if (!system.offersGridType[type.item]) continue;
      std::string pattern(west);
      for (int i = 0; i < 4; ++i) pattern += "[0-9]";
      // A code of four characters is the sheet; finer ones add "/" and digits.
      const int digits = std::max(type.codeLength - 5, 0);
      if (digits > 0) pattern += '/';
      for (int level = 0; level < digits; ++level) pattern += levels[level];
      patterns.push_back(std::move(pattern));
    }
  }
  return patterns;
}

bool IsCellCodeOf(const GridSystemInfo& system, std::string_view reference) {
  // Made once per system: a count asks for every grid-referenced sample.
  static const std::array<std::vector<std::string>, kGridSystems.size()> patterns = [] {
    std::array<std::vector<std::string>, kGridSystems.size()> all;
    for (const GridSystemInfo& s : kGridSystems) all[s.item] = CellCodePatterns(s);
    return all;
  }();
  return std::ranges::any_of(patterns[system.item],
                             [reference](const std::string& p) { return Matches(p, reference); });
}

}  // namespace velmora
