#include "count/count_transfer.h"

#include <string>

namespace velmora {

CountResult TransferCounts(const FiguresOfCells& cells, CountFigures figures, MapState& map,
                           ProgressSink& progress) {
  const auto counted = [&](int row, int column) -> const CellFigures& {
    return cells[CellPosition(map, row, column)];
  };
  int shown = -1;
  size_t countedCells = 0;
  for (int column = 0; column < map.CellColumns; ++column) {
    const int percent = column * 100 / map.CellColumns;
    if (percent != shown) progress.SetProgressPosition(shown = percent);
    for (int row = 0; row < map.CellRows; ++row) {
      const CellFigures& cell = counted(row, column);
      if (cell.taxa == 0) continue;
      ++countedCells;
      map.Grids[row][column].Count =
          std::to_string(figures.measure == CountMeasure::Records ? cell.records : cell.taxa);
    }
  }
  // Sized once: growing it would move the cells found so far again and again.
  CountResult result;
  result.cells.reserve(countedCells);
  for (int row = 0; row < map.CellRows; ++row) {
    for (int column = 0; column < map.CellColumns; ++column) {
      const CellFigures& cell = counted(row, column);
      if (cell.taxa == 0) continue;
      result.cells.push_back({map.Grids[row][column].Code, cell.taxa,
                              figures.records ? std::optional(cell.records) : std::nullopt});
    }
  }
  return result;
}

}  // namespace velmora
