#include "bench_database.h"

#include "demo/demo_database.h"

namespace velmora::bench {

Extent BenchExtent() { return *Extent::Read("0901", "8758"); }

std::filesystem::path BenchDatabase(int samples) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(samples) + ".db");
  if (!std::filesystem::exists(path)) {
    demo::DemoOptions options;
    options.samples = samples;
    options.occurrencesPerSample = 5;
    options.taxa = 2000;
    options.extent = BenchExtent();
    demo::WriteDemoDatabase(path, options);
  }
  return path;
}

std::string ConnectionStringOf(const std::filesystem::path& database) {
  return "Provider=SQLite;Data Source=" + database.string();
}

AllKeys AllKeysOf(DatabaseSession& session) {
  std::vector<CheckedKey> groups, surveys;
  LoadTaxonGroups(session, [&](SelectionItem item) { groups.push_back({item.key, true}); });
  LoadSurveys(session, [&](SelectionItem item) { surveys.push_back({item.key, true}); });
  return {CheckedKeyList(groups), CheckedKeyList(surveys)};
}

CountRunInputs BenchCount::Inputs() const {
  return {.gridType = &kGridTypes[gridType],
          .taxonGroupKeys = keys.taxonGroups,
          .surveyKeys = keys.surveys};
}

BenchCount PrepareCount(DatabaseSession& session, int gridType, const Extent& extent) {
  BenchCount count{gridType, {}, AllKeysOf(session)};
  const int gridSystem = gridType == 4 || gridType == 1 ? 0 : 1;
  BuildCellList({gridType, gridSystem, extent, ""}, count.map);
  return count;
}

}  // namespace velmora::bench
