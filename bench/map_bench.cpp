// Drawing the map of the largest extent the settings fall back to, 0901 to
// 8758 (58 x 79 sheets), at 100 pixels per sheet: the grid with its labels, and
// the values of a count run into all 293,248 cells of 16tel-Quadranten.
#include <benchmark/benchmark.h>

#include <string>

#include "grid/cell_list.h"
#include "map/cell_values.h"
#include "map/grid_drawing.h"

namespace {

constexpr int kSheetSize = 100;
constexpr int kMargin = kSheetSize / 2;

velmora::MapState LargestExtent(int gridTypeItem) {
  velmora::MapState map;
  velmora::BuildCellList({gridTypeItem, 1, velmora::Extent::Read("0901", "8758"), ""}, map);
  return map;
}

QImage WhitePicture(const velmora::MapState& map) {
  QImage picture(map.SheetColumns * kSheetSize + kMargin, map.SheetRows * kSheetSize + kMargin,
                 QImage::Format_RGB32);
  picture.fill(Qt::white);
  return picture;
}

void DrawGridOfLargestExtent(benchmark::State& state) {
  const velmora::MapState map = LargestExtent(0);
  QImage picture = WhitePicture(map);
  for (auto _ : state) {
    velmora::DrawGrid(picture, {{kMargin, kMargin},
                                map.SheetColumns,
                                map.SheetRows,
                                map.NwRow,
                                map.NwColumnIndex,
                                "18",
                                velmora::clBlack});
    benchmark::DoNotOptimize(picture.constBits());
  }
}

void DrawCellValuesOfLargestExtent(benchmark::State& state) {
  velmora::MapState map = LargestExtent(3);
  int n = 0;
  for (auto& row : map.Grids) {
    for (velmora::TGrid& cell : row) cell.Count = std::to_string(++n % 1000);
  }
  QImage picture = WhitePicture(map);
  for (auto _ : state) {
    velmora::DrawCellValues(picture, map.Grids,
                            {{kMargin, kMargin}, map.CellRows, map.CellColumns, "", 0x0000FF});
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.counters["cells"] = static_cast<double>(map.CellRows) * map.CellColumns;
}

BENCHMARK(DrawGridOfLargestExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawCellValuesOfLargestExtent)->Unit(benchmark::kMillisecond);

}  // namespace
