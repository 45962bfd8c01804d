#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "grid/cell_list.h"
#include "grid/extent.h"
#include "platform/db/database_session.h"

namespace velmora::bench {

// The extent the benchmarks count over: the largest the settings fall back to,
// so that the points spread widely.
Extent BenchExtent();

// A generated host database of `samples` samples with five occurrences each,
// made once in the system's temporary folder and kept there for later runs.
std::filesystem::path BenchDatabase(int samples);

std::string ConnectionStringOf(const std::filesystem::path& database);

// Every taxon group and every survey of the session, checked: what "Alle"
// under both lists gives.
struct AllKeys {
  std::string taxonGroups;
  std::string surveys;
};
AllKeys AllKeysOf(DatabaseSession& session);

// What a benchmark counts: the map of an extent at a grid type, in the grid
// system that offers it (QYX for Quadranten and Minutenfelder, else QQQ), and
// every taxon group and survey of the session.
struct BenchCount {
  int gridType = 0;
  MapState map;
  AllKeys keys;

  CountRunInputs Inputs() const;
};
BenchCount PrepareCount(DatabaseSession& session, int gridType,
                        const Extent& extent = BenchExtent());

}  // namespace velmora::bench
