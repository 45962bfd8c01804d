// A whole count run on generated host databases of 100,000 and 1,000,000
// samples with five occurrences each, in both grid systems, with the time of
// each stage. The databases are generated once into the system's temporary
// folder and kept there for later runs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "demo_database.h"
#include "grid/coordinate_conversion.h"
#include "grid/geodll32.h"

namespace {

using Clock = std::chrono::steady_clock;

std::filesystem::path Database(int samples) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(samples) + ".db");
  if (!std::filesystem::exists(path)) {
    velmora::demo::DemoOptions options;
    options.samples = samples;
    options.occurrencesPerSample = 5;
    options.taxa = 2000;
    // The largest extent the settings fall back to, so that points spread widely.
    options.extent = *velmora::Extent::Read("0901", "8758");
    velmora::demo::WriteDemoDatabase(path, options);
  }
  return path;
}

// Times the stages between the status texts of the run.
class StageClock final : public velmora::ProgressSink {
 public:
  void SetProgressText(const std::string& text) override {
    Lap();
    stage_ = text;
  }
  void SetProgressPosition(int) override {}
  void Lap() {
    const Clock::time_point now = Clock::now();
    if (!stage_.empty()) seconds[stage_] += std::chrono::duration<double>(now - last_).count();
    last_ = now;
  }
  std::map<std::string, double> seconds;

 private:
  std::string stage_;
  Clock::time_point last_ = Clock::now();
};

void CountRun(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const int samples = static_cast<int>(state.range(0));
  const int gridType = static_cast<int>(state.range(1));
  const int gridSystem = gridType == 4 || gridType == 1 ? 0 : 1;
  const std::filesystem::path path = Database(samples);
  for (auto _ : state) {
    velmora::DatabaseSession session;
    session.Open("Provider=SQLite;Data Source=" + path.string());
    std::vector<velmora::CheckedKey> groups, surveys;
    velmora::LoadTaxonGroups(session, [&](velmora::SelectionItem i) {
      groups.push_back({i.key, true});
    });
    velmora::LoadSurveys(session, [&](velmora::SelectionItem i) {
      surveys.push_back({i.key, true});
    });
    velmora::MapState map;
    velmora::BuildCellList({gridType, gridSystem, velmora::Extent::Read("0901", "8758"), ""}, map);

    StageClock clock;
    velmora::CountDatabase(session, map,
                           {.gridType = &velmora::kGridTypes[gridType],
                            .taxonGroupKeys = velmora::CheckedKeyList(groups),
                            .surveyKeys = velmora::CheckedKeyList(surveys)},
                           clock);
    clock.Lap();
    const char* names[][2] = {{"Hole Aufnahmen...", "copy"},
                              {"Errechne Raster...", "convert+update"},
                              {"Entferne überflüssige Raster...", "removals"},
                              {"Hole Beobachtungen...", "selection"},
                              {"Zähle Datensätze...", "counting"},
                              {"Übertrage Auszählergebnisse", "transfer"}};
    for (const auto& [text, name] : names) state.counters[name] = clock.seconds[text];
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
    ->Unit(benchmark::kSecond);
BENCHMARK(ConversionOnly)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
