#pragma once

#include <optional>
#include <string>
#include <vector>

#include "count/count_run.h"
#include "grid/cell_list.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"

namespace velmora {

// What the records of one taxon in one cell of the map come to.
struct AtlasCell {
  // The cell's position in the cell list (CellPosition).
  size_t position = 0;
  // Distinct qualifying occurrences.
  int records = 0;
  // The earliest year any of them may lie in and the latest; nothing when
  // none of them is dated.
  std::optional<int> firstYear;
  std::optional<int> lastYear;

  bool operator==(const AtlasCell&) const = default;
};

// One taxon that has records in the map: the recommended taxon-list item a
// count counts (nothing for records whose name has no recommended item, which
// a count counts as one taxon), its name, its group and its cells.
struct AtlasTaxon {
  std::optional<std::string> key;
  // The recommended item's name as the host's name index stores it.
  std::string name;
  // The output group of its records' items (the least key, should they lie in
  // several).
  std::string groupKey;
  // In the order of the cell list.
  std::vector<AtlasCell> cells;

  int Records() const;
  std::optional<int> FirstYear() const;
  std::optional<int> LastYear() const;
};

// The name given to the records whose name has no recommended item.
inline constexpr const char* kNoRecommendedTaxonName = "(ohne empfohlenen Namen)";

// Reads the records of the map for an atlas in one pass: the samples get
// their cells as a count gives them (AssignSampleCells), then every record
// that counts by the count's rule for the chosen groups, surveys and years is
// read once, with its taxon, its cell and the dates of its sample. A record's
// first year is the year its sample's vague date begins in, its last year the
// year it ends in; a date open at one end gives its one year for both.
// The taxa come sorted by name, then key. The map's cell values stay as they
// are. Errors of the database pass out unchanged.
std::vector<AtlasTaxon> ReadAtlasRecords(DatabaseSession& session, const MapState& map,
                                         const CountRunInputs& inputs, ProgressSink& progress);

}  // namespace velmora
