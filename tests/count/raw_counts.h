#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "count/count_result.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"

namespace velmora::testing {

// The figures a count must give, worked out here from the raw rows of a host
// database, without SQL: keys are compared as the texts they read as.

using Rows = std::vector<std::vector<Variant>>;

Rows ReadAll(DatabaseSession& session, const std::string& sql);

// The host's records as plain maps, read table by table.
struct HostRecords {
  explicit HostRecords(DatabaseSession& session);

  Rows samples, occurrences, determinations;
  std::map<std::string, std::string> surveyOfEvent;
  std::map<std::string, std::optional<std::string>> recommendedOf;
  std::map<std::string, std::optional<std::string>> groupOfItem;
};

// Host day numbers a sample's date must lie within; nothing for no limit.
struct Days {
  std::optional<double> first;
  std::optional<double> last;
};

// Code -> figures of every counted cell of the map, and the distinct taxa of
// them all.
std::map<std::string, CellCount> ExpectedFigures(const HostRecords& host, const MapState& map,
                                                 int gridType, const std::set<std::string>& groups,
                                                 const std::set<std::string>& surveys,
                                                 const Days& days = {},
                                                 int* distinctTaxa = nullptr);

}  // namespace velmora::testing
