#pragma once

#include <functional>
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

// Calls `record` for every record a count counts: the code of its cell, its
// taxon (the recommended item; nothing where there is none), its occurrence's
// key and its sample's row (VAGUE_DATE_START and VAGUE_DATE_END at 6 and 7).
using CountedRecord =
    std::function<void(const std::string& cell, const std::optional<std::string>& taxon,
                       const std::string& occurrence, const std::vector<Variant>& sample)>;
void ForEachCountedRecord(const HostRecords& host, const MapState& map, int gridType,
                          const std::set<std::string>& groups, const std::set<std::string>& surveys,
                          const Days& days, const CountedRecord& record);

// Code -> figures of every counted cell of the map, and the distinct taxa of
// them all.
std::map<std::string, CellCount> ExpectedFigures(const HostRecords& host, const MapState& map,
                                                 int gridType, const std::set<std::string>& groups,
                                                 const std::set<std::string>& surveys,
                                                 const Days& days = {},
                                                 int* distinctTaxa = nullptr);

// What an atlas gives for one taxon in one cell: its distinct records and
// the first and last year of their samples' dates.
struct AtlasFigures {
  int records = 0;
  std::optional<int> first;
  std::optional<int> last;

  bool operator==(const AtlasFigures&) const = default;
};
using AtlasKey = std::pair<std::optional<std::string>, std::string>;  // taxon, cell code

std::map<AtlasKey, AtlasFigures> ExpectedAtlas(const HostRecords& host, const MapState& map,
                                               int gridType, const std::set<std::string>& groups,
                                               const std::set<std::string>& surveys,
                                               const Days& days = {});

}  // namespace velmora::testing
