// Coordinate conversions per second, with the geodetic library's
// transformation (as a count run calls it for each sample) and without it.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"

namespace {

struct Point {
  double latitude;
  double longitude;
};

// Spread over Germany, so that the transformation meets the whole BETA2007
// grid and every sheet kind of code.
const std::vector<Point>& Points() {
  static const std::vector<Point> points = [] {
    std::mt19937 random(2007);
    std::uniform_real_distribution<double> latitude(47.3, 55.0);
    std::uniform_real_distribution<double> longitude(5.9, 15.0);
    std::vector<Point> all(1 << 16);
    for (Point& p : all) p = {latitude(random), longitude(random)};
    return all;
  }();
  return points;
}

template <typename Convert>
void RunConversions(benchmark::State& state, Convert convert) {
  const std::vector<Point>& points = Points();
  size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (points.size() - 1)];
    benchmark::DoNotOptimize(convert(p));
  }
  state.SetItemsProcessed(state.iterations());
}

void WithTransformation(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  RunConversions(state, [](const Point& p) {
    return velmora::CoordinateToCellCode("QYX", p.latitude, p.longitude);
  });
}

void MinuteFieldInGridFrame(benchmark::State& state) {
  RunConversions(
      state, [](const Point& p) { return velmora::MinuteFieldCellCode(p.latitude, p.longitude); });
}

void QuadrantInGridFrame(benchmark::State& state) {
  RunConversions(state,
                 [](const Point& p) { return velmora::QuadrantCellCode(p.latitude, p.longitude); });
}

BENCHMARK(WithTransformation);
BENCHMARK(MinuteFieldInGridFrame);
BENCHMARK(QuadrantInGridFrame);

}  // namespace
