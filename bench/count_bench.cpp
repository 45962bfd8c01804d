// A whole count run on generated host databases of 100,000 and 1,000,000
// samples with five occurrences each, in both grid systems, with the time of
// each stage.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>

#include "bench_database.h"
#include "count/count_run.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"

namespace {

using Clock = std::chrono::steady_clock;

// The processor time of the whole process, every thread.
double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Times the stages between the status texts of the run: the time that passed
// and, since a machine shared with other work stretches that, the processor
// time the run used meanwhile. Also keeps the longest time the bar or the text
// stood still.
class StageClock final : public velmora::ProgressSink {
 public:
  void SetProgressText(const std::string& text) override {
    Lap();
    stage_ = text;
  }
  void SetProgressPosition(int) override { Moved(); }
  void Lap() {
    const Clock::time_point now = Moved();
    const double processor = ProcessSeconds();
    if (!stage_.empty()) {
      seconds[stage_] += std::chrono::duration<double>(now - last_).count();
      processorSeconds[stage_] += processor - lastProcessor_;
    }
    last_ = now;
    lastProcessor_ = processor;
  }
  std::map<std::string, double> seconds;
  std::map<std::string, double> processorSeconds;
  double longestStill = 0;

 private:
  Clock::time_point Moved() {
    const Clock::time_point now = Clock::now();
    longestStill = std::max(longestStill, std::chrono::duration<double>(now - lastMove_).count());
    lastMove_ = now;
    return now;
  }

  std::string stage_;
  Clock::time_point last_ = Clock::now();
  Clock::time_point lastMove_ = last_;
  double lastProcessor_ = ProcessSeconds();
};

void CountRun(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const int samples = static_cast<int>(state.range(0));
  const int gridType = static_cast<int>(state.range(1));
  const std::string connectionString =
      velmora::bench::ConnectionStringOf(velmora::bench::BenchDatabase(samples));
  for (auto _ : state) {
    velmora::DatabaseSession session;
    session.Open(connectionString);
    velmora::bench::BenchCount count = velmora::bench::PrepareCount(session, gridType);

    StageClock clock;
    velmora::CountDatabase(session, count.map, count.Inputs(), clock);
    clock.Lap();
    const char* names[][2] = {{"Hole Aufnahmen...", "copy"},
                              {"Errechne Raster...", "convert+update"},
                              {"Entferne überflüssige Raster...", "removals"},
                              {"Hole Beobachtungen...", "selection"},
                              {"Zähle Datensätze...", "counting"},
                              {"Übertrage Auszählergebnisse", "transfer"}};
    for (const auto& [text, name] : names) {
      state.counters[name] = clock.seconds[text];
      state.counters[std::string(name) + "_cpu"] = clock.processorSeconds[text];
    }
    state.counters["still"] = clock.longestStill;
  }
}

// The conversion alone, for the same number of points, to tell conversion
// from update time.
void ConversionOnly(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const int samples = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < samples; ++i) {
      benchmark::DoNotOptimize(velmora::CoordinateToCellCode("QYX", 47.3 + (i % 7919) * 0.001,
                                                             5.9 + (i % 7907) * 0.001));
    }
  }
}

BENCHMARK(CountRun)
    ->ArgsProduct({{100000, 1000000}, {4, 3}})
    ->ArgNames({"samples", "gridtype"})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(ConversionOnly)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
