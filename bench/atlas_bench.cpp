// What an atlas costs on the generated database of 1,000,000 samples, over a
// state-sized extent: the 10 x 10 sheets of 5508 to 6417 at Quadranten.
// AtlasPassAgainstCount times one count run of the extent and the atlas's one
// pass over the same database (pass_per_count is to stay within 1.5).
// WholeAtlas runs velmora-map atlas over a background of 60 pixels a sheet
// into an empty folder: every taxon with a record there gets its map, its
// world files and its thumbnail, then the index. Its counters give the
// maps, the seconds per 2,000 maps (to stay within 60 on two cores), the
// processor seconds and the largest resident memory of the program (within
// 1 GB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_database.h"
#include "count/atlas_records.h"
#include "count/count_run.h"
#include "grid/geodll32.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kQuadranten = 1;

velmora::Extent AtlasExtent() { return *velmora::Extent::Read("5508", "6417"); }

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs a program to its end; gives its resource use, and throws when it fails.
rusage Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(args[0] + " " + args[1] + " failed");
  }
  return usage;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

void AtlasPassAgainstCount(benchmark::State& state) {
  velmora::LoadGeodeticLibrary();
  const std::string connectionString =
      velmora::bench::ConnectionStringOf(velmora::bench::BenchDatabase(1000000));
  velmora::NoProgress silent;
  for (auto _ : state) {
    velmora::DatabaseSession session;
    session.Open(connectionString);
    velmora::bench::BenchCount count =
        velmora::bench::PrepareCount(session, kQuadranten, AtlasExtent());
    Clock::time_point start = Clock::now();
    velmora::CountDatabase(session, count.map, count.Inputs(), silent);
    const double counted = SecondsSince(start);
    start = Clock::now();
    const std::vector<velmora::AtlasTaxon> taxa =
        velmora::ReadAtlasRecords(session, count.map, count.Inputs(), silent);
    const double pass = SecondsSince(start);
    state.counters["count_s"] = counted;
    state.counters["pass_s"] = pass;
    state.counters["pass_per_count"] = pass / counted;
    state.counters["taxa"] = static_cast<double>(taxa.size());
  }
}

void WholeAtlas(benchmark::State& state) {
  const fs::path database = velmora::bench::BenchDatabase(1000000);
  const fs::path folder = fs::temp_directory_path() / "velmora-bench-atlas";
  const std::string background = (folder / "background.bmp").string();
  const std::string atlas = (folder / "atlas").string();
  fs::remove_all(folder);
  fs::create_directories(folder);
  Run({VELMORA_MAP_PATH, "background", "--nw", "5508", "--se", "6417", "--sheet-size", "60",
       "--out", background});
  for (auto _ : state) {
    fs::remove_all(atlas);
    const Clock::time_point start = Clock::now();
    const rusage usage =
        Run({VELMORA_MAP_PATH, "atlas", "--db", database.string(), "--nw", "5508", "--se", "6417",
             "--system", "QYX", "--type", "Quadranten", "--bmp", background, "--out", atlas});
    const double seconds = SecondsSince(start);
    const auto maps = std::distance(fs::directory_iterator(fs::path(atlas) / "thumbnails"),
                                    fs::directory_iterator());
    state.counters["maps"] = static_cast<double>(maps);
    state.counters["seconds"] = seconds;
    state.counters["s_per_2000_maps"] = seconds * 2000 / static_cast<double>(maps);
    state.counters["cpu_s"] = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    state.counters["max_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
  }
  fs::remove_all(folder);
}

}  // namespace

BENCHMARK(AtlasPassAgainstCount)->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(WholeAtlas)->Iterations(1)->Unit(benchmark::kSecond);
