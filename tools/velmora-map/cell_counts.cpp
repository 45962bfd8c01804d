#include "cell_counts.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "command_errors.h"
#include "grid/sheet.h"
#include "platform/errors.h"

namespace velmora::cli {
namespace {

// Whether the code names a cell of the grid type anywhere on the grid: one of
// the cells of its sheet.
bool FitsGridType(std::string_view code, const GridTypeInfo& type) {
  const std::optional<Sheet> sheet = Sheet::Read(code.substr(0, code.starts_with('W') ? 5 : 4));
  if (!sheet) return false;
  for (int row = 1; row <= type.division.rows; ++row) {
    for (int column = 1; column <= type.division.columns; ++column) {
      if (CellCodeAt(column, row, *sheet, type) == code) return true;
    }
  }
  return false;
}

bool IsWholeNumber(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// Names the first few codes; a file of another grid type has them by the thousand.
std::string CodeList(const std::vector<std::string>& codes) {
  constexpr size_t kNamed = 5;
  std::string list;
  for (size_t i = 0; i < std::min(codes.size(), kNamed); ++i) {
    list += (i == 0 ? "" : ", ") + codes[i];
  }
  if (codes.size() > kNamed) list += " and " + std::to_string(codes.size() - kNamed) + " more";
  return list;
}

}  // namespace

void ReadCellCounts(const std::string& path, const GridTypeInfo& gridType, MapState& map) {
  std::ifstream in(path);
  if (!in) throw Exception("cannot read the counts file '" + path + "'");
  std::unordered_map<std::string_view, TGrid*> cells;
  for (auto& row : map.Grids) {
    for (TGrid& cell : row) cells.emplace(cell.Code, &cell);
  }
  std::vector<std::string> misfits;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || (number == 1 && line == "code,count")) continue;
    const size_t separator = line.find_first_of("\t,");
    if (separator == std::string::npos || !IsWholeNumber(line.substr(separator + 1))) {
      throw Exception(path + ":" + std::to_string(number) + ": expected CODE<TAB>COUNT, not '" +
                      line + "'");
    }
    const std::string_view code = std::string_view(line).substr(0, separator);
    if (const auto cell = cells.find(code); cell != cells.end()) {
      cell->second->Count = line.substr(separator + 1);
    } else if (!FitsGridType(code, gridType)) {
      misfits.emplace_back(code);
    }
  }
  if (!misfits.empty()) {
    throw UsageError("the counts file '" + path + "' has codes that are no cells of " +
                     std::string(gridType.name) + ": " + CodeList(misfits) +
                     " (give --type the grid type the counts were made for)");
  }
}

}  // namespace velmora::cli
