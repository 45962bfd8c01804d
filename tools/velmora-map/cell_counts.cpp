#include "cell_counts.h"

#include <fstream>
#include <string_view>
#include <unordered_map>

#include "platform/errors.h"

namespace velmora::cli {

void ReadCellCounts(const std::string& path, MapState& map) {
  std::ifstream in(path);
  if (!in) throw Exception("cannot read the counts file '" + path + "'");
  std::unordered_map<std::string_view, TGrid*> cells;
  for (auto& row : map.Grids) {
    for (TGrid& cell : row) cells.emplace(cell.Code, &cell);
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || (number == 1 && line == "code,count")) continue;
    const size_t separator = line.find_first_of("\t,");
    if (separator == std::string::npos) {
      throw Exception(path + ":" + std::to_string(number) + ": expected CODE<TAB>COUNT, not '" +
                      line + "'");
    }
    const auto cell = cells.find(std::string_view(line).substr(0, separator));
    if (cell != cells.end()) cell->second->Count = line.substr(separator + 1);
  }
}

}  // namespace velmora::cli
