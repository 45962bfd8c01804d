#pragma once

#include "count/count_result.h"
#include "count/large_blocks.h"
#include "grid/cell_list.h"
#include "platform/progress.h"

namespace velmora {

// The figures a count works out, and which of them goes into the cells' Count.
struct CountFigures {
  CountMeasure measure = CountMeasure::Taxa;
  // Records are counted too; they must be when they are the measure.
  bool records = false;
};

// The figures of one cell of the map; a cell without a taxon was not counted.
struct CellFigures {
  int taxa = 0;
  int records = 0;
};

// The figures of the map's cells by position: cell row * CellColumns + cell column.
// They live in a large block: the finer grids have hundreds of thousands of cells.
using FiguresOfCells = LargeVector<CellFigures>;

inline size_t CellPosition(const MapState& map, int row, int column) {
  return static_cast<size_t>(row) * map.CellColumns + column;
}

// Writes the measure into the Count of every counted cell, column by column
// with the bar following the columns, and returns the counted cells in the
// order of the cell list, with their records when they were counted.
CountResult TransferCounts(const FiguresOfCells& cells, CountFigures figures, MapState& map,
                           ProgressSink& progress);

}  // namespace velmora
