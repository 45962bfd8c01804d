#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What the Count of a counted cell shows: its number of distinct taxa, as the
// dialog always has, or its number of records.
enum class CountMeasure { Taxa, Records };

// The figures of one counted cell of the map.
struct CellCount {
  std::string code;
  // Distinct recommended taxa with a qualifying record in the cell.
  int taxa = 0;
  // Distinct qualifying taxon occurrences in the cell, the records behind its
  // taxa; only when the run was asked for them.
  std::optional<int> records;

  bool operator==(const CellCount&) const = default;
};

// The cells of the map that the count found records in, in the order of the
// cell list: row by row from the north, west to east within a row.
struct CountResult {
  std::vector<CellCount> cells;
  // Distinct recommended taxa over all counted cells: what a legend of the
  // map gives as its total.
  int distinctTaxa = 0;
};

}  // namespace velmora
