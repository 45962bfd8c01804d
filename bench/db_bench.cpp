// The two database operations on the count's hot path, at a million samples:
// reading the samples to convert into a snapshot, and writing one cell code
// per sample with a prepared UPDATE by primary key on a temporary table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/db/database_session.h"

namespace {

constexpr int kRows = 1'000'000;

// A database file with a million samples' keys and coordinates, made once.
class BenchDatabase {
 public:
  BenchDatabase()
      : folder_(std::filesystem::temp_directory_path() /
                ("velmora-bench-db-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    std::ofstream{Path()};
    velmora::DatabaseSession session;
    session.Open(SqliteConnectionString());
    session.ExecuteNoRecords(
        "CREATE TABLE SAMPLE AS WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n "
        "WHERE x + 1 < " +
        std::to_string(kRows) +
        ") SELECT printf('VLMDEMO1%08X', x) AS SAMPLE_KEY, 49.2 + (x % 3000) * 0.0001 AS LAT, "
        "7.0 + (x / 3000) * 0.002 AS LONG FROM n");
  }
  ~BenchDatabase() { std::filesystem::remove_all(folder_); }

  std::filesystem::path Path() const { return folder_ / "bench.db"; }
  std::string SqliteConnectionString() const {
    return "Provider=SQLite;Data Source=" + Path().string();
  }
  std::string OdbcConnectionString() const {
    return "Driver=" VELMORA_SQLITE_ODBC_DRIVER ";Database=" + Path().string();
  }

 private:
  std::filesystem::path folder_;
};

const BenchDatabase& Database() {
  static const BenchDatabase database;
  return database;
}

void ReadMillionRowSnapshot(benchmark::State& state) {
  const bool odbc = state.range(0) == 1;
  velmora::DatabaseSession session;
  session.Open(odbc ? Database().OdbcConnectionString() : Database().SqliteConnectionString());
  for (auto _ : state) {
    const auto result = session.OpenQuery("SELECT SAMPLE_KEY, LAT, LONG FROM SAMPLE");
    if (result->RecordCount() != kRows) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(result.get());
  }
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kRows) * state.iterations(),
                                                benchmark::Counter::kIsRate);
}

void MillionPreparedUpdatesByKey(benchmark::State& state) {
  const bool odbc = state.range(1) == 1;
  velmora::DatabaseSession session;
  session.Open(odbc ? Database().OdbcConnectionString() : Database().SqliteConnectionString());
  session.ExecuteNoRecords(
      "CREATE TEMP TABLE sample_grid (grid VARCHAR(9), gridtype VARCHAR(3), "
      "sample_key CHAR(16) PRIMARY KEY, LAT float, Long float)");
  session.ExecuteNoRecords(
      "INSERT INTO sample_grid (sample_key, LAT, Long) SELECT SAMPLE_KEY, LAT, LONG FROM SAMPLE");
  const auto keys = session.OpenQuery("SELECT sample_key FROM sample_grid");
  std::vector<std::vector<std::string>> rows;
  rows.reserve(kRows);
  for (; !keys->AtEnd(); keys->Next()) {
    rows.push_back({"6508/123", "QYX", velmora::VariantToText(keys->FieldValue(0))});
  }
  const auto update =
      session.Prepare("UPDATE sample_grid SET grid = ?, gridtype = ? WHERE sample_key = ?");
  const std::size_t batch = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    long long affected = 0;
    for (std::size_t first = 0; first < rows.size(); first += batch) {
      affected += update->ExecuteBatch(
          std::span(rows).subspan(first, std::min(batch, rows.size() - first)));
    }
    if (affected != kRows) state.SkipWithError("wrong number of rows affected");
  }
  state.counters["updates/s"] = benchmark::Counter(static_cast<double>(kRows) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
}

BENCHMARK(ReadMillionRowSnapshot)->Arg(0)->ArgName("odbc")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadMillionRowSnapshot)
    ->Arg(1)
    ->ArgName("odbc")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(MillionPreparedUpdatesByKey)
    ->Args({10000, 0})
    ->ArgNames({"batch", "odbc"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(MillionPreparedUpdatesByKey)
    ->Args({10000, 1})
    ->ArgNames({"batch", "odbc"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
