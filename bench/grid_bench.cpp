// The cell list of the largest extent the settings fall back to, 0901 to 8758.
#include <benchmark/benchmark.h>

#include "grid/cell_list.h"

namespace {

void BuildLargestCellList(benchmark::State& state) {
  const int gridType = static_cast<int>(state.range(0));
  const std::optional<velmora::Extent> largest = velmora::Extent::Read("0901", "8758");
  velmora::MapState map;
  for (auto _ : state) {
    velmora::BuildCellList({gridType, gridType == 4 ? 0 : 1, largest, ""}, map);
    benchmark::DoNotOptimize(map.Grids.data());
  }
  state.counters["cells"] = static_cast<double>(map.CellRows) * map.CellColumns;
}

BENCHMARK(BuildLargestCellList)->Arg(3)->ArgName("16tel-Quadranten")->Unit(benchmark::kMillisecond);
BENCHMARK(BuildLargestCellList)->Arg(4)->ArgName("Minutenfelder")->Unit(benchmark::kMillisecond);

}  // namespace
