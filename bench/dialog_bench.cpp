// What the dialog adds to a count run: "Datenbank auszählen" in the wizard
// (status texts with a round of event processing each, the bar, the panel and
// buttons, the values drawn into the picture) against the same count through
// the engine alone, on the generated database of 100,000 samples, offscreen.
// Both run on the dialog's one session, in turns, so that a busy machine
// weighs on both alike; `added_percent` is the dialog's share over the engine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench_database.h"
#include "count/count_run.h"
#include "demo/background_bmp.h"
#include "grid/geodll32.h"
#include "map/fonts.h"
#include "platform/message_box.h"
#include "session_connector.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace {

using Clock = std::chrono::steady_clock;

class NoProgress final : public velmora::ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

std::filesystem::path BenchBackground() {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "velmora-bench-background.bmp";
  if (!std::filesystem::exists(path)) {
    velmora::demo::WriteBackgroundBmp(path, velmora::bench::BenchExtent(), 1);
  }
  return path;
}

// The settings a user would have chosen: the bench extent in the grid type of
// the run, over its background.
void WriteDialogSettings(int gridType, int gridSystem) {
  velmora::CreateSettingsFolder();
  std::ofstream(velmora::SettingsFilePath())
      << "eMtbNW=0901\neMtbSE=8758\nrgGridSystem=" << gridSystem << "\nrgGridType=" << gridType
      << "\neBackgroundImage=" << BenchBackground().string() << "\n";
}

bool SameCounts(const velmora::TGrids& a, const velmora::TGrids& b) {
  const auto sameCell = [](const velmora::TGrid& x, const velmora::TGrid& y) {
    return x.Code == y.Code && x.Count == y.Count;
  };
  const auto sameRow = [&](const auto& x, const auto& y) {
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), sameCell);
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameRow);
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void DialogCountRun(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const int gridType = static_cast<int>(state.range(0));
  const int gridSystem = gridType == 4 ? 0 : 1;
  WriteDialogSettings(gridType, gridSystem);
  const std::string connectionString =
      velmora::bench::ConnectionStringOf(velmora::bench::BenchDatabase(100000));
  velmora::RecordingMessageSink messages;
  auto wizard =
      velmora::CreateWizard(std::make_unique<velmora::testing::SessionConnector>(connectionString));
  wizard->show();
  QApplication::processEvents();
  wizard->btAllTaxonGroups.click();
  wizard->BtAllSurveys.click();

  const velmora::bench::AllKeys keys = velmora::bench::AllKeysOf(wizard->Database->Session());
  velmora::MapState map = wizard->Map;
  const velmora::CountRunInputs inputs{&velmora::kGridTypes[gridType], keys.taxonGroups,
                                       keys.surveys};
  NoProgress quiet;
  double engineSeconds = 0;
  double dialogSeconds = 0;
  bool engineFirst = true;
  for (auto _ : state) {
    const auto engine = [&] {
      const Clock::time_point start = Clock::now();
      velmora::CountDatabase(wizard->Database->Session(), map, inputs, quiet);
      engineSeconds += SecondsSince(start);
    };
    const auto dialog = [&] {
      const Clock::time_point start = Clock::now();
      wizard->btCountDatabase.click();
      const double seconds = SecondsSince(start);
      dialogSeconds += seconds;
      state.SetIterationTime(seconds);
    };
    if (engineFirst) {
      engine();
      dialog();
    } else {
      dialog();
      engine();
    }
    engineFirst = !engineFirst;
    if (!messages.Shown().empty()) {
      state.SkipWithError(messages.Shown().front().text.c_str());
      break;
    }
  }
  if (!SameCounts(map.Grids, wizard->Map.Grids))
    state.SkipWithError("the dialog counted otherwise");
  const double runs = static_cast<double>(state.iterations());
  state.counters["engine_s"] = engineSeconds / runs;
  state.counters["dialog_s"] = dialogSeconds / runs;
  state.counters["added_percent"] = 100 * (dialogSeconds - engineSeconds) / engineSeconds;
  velmora::DestroyWizard(std::move(wizard));
}

BENCHMARK(DialogCountRun)
    ->ArgName("gridtype")
    ->Arg(4)
    ->Arg(3)
    ->Iterations(6)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The dialog reads and writes its settings in the user's data folder; the
  // benchmark keeps to a folder of its own.
  std::string dataFolder =
      (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
  if (mkdtemp(dataFolder.data()) == nullptr) return 1;
  setenv("XDG_DATA_HOME", dataFolder.c_str(), 1);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  velmora::RegisterFonts();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(dataFolder);
  return 0;
}
