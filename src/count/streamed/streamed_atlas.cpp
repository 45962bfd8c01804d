#include "count/streamed/streamed_atlas.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "count/large_blocks.h"
#include "count/streamed/counted_records.h"
#include "count/streamed/parted_pass.h"
#include "count/streamed/sorted_pairs.h"
#include "count/streamed/taxa_of_items.h"

namespace velmora {
namespace {

// What one worker found among the determinations: its (taxon, occurrence)
// pairs as taxon * 2^32 + occurrence number, sorted at its end, and the least
// group of each taxon's items.
struct WorkerRecords {
  LargeVector<std::uint64_t> pairs;
  std::vector<int> leastGroup;  // by taxon number, the last for no recommended item; -1: none
};

size_t TaxonSlot(std::uint32_t taxon, size_t slots) {
  return taxon == kNoRecommendedTaxon ? slots - 1 : taxon;
}

// The least of the workers' least groups of each taxon; -1 for none.
std::vector<int> LeastGroups(const WorkerRecords (&workers)[kPassWorkers],
                             const TaxaOfItems& taxa) {
  std::vector<int> least = workers[0].leastGroup;
  for (size_t slot = 0; slot < least.size(); ++slot) {
    for (const WorkerRecords& worker : workers) {
      const int group = worker.leastGroup[slot];
      if (group >= 0 && (least[slot] < 0 || taxa.GroupKey(group) < taxa.GroupKey(least[slot]))) {
        least[slot] = group;
      }
    }
  }
  return least;
}

// Gathers the sorted, distinct (taxon, occurrence) pairs of both workers into
// taxa with their keys, groups and cells.
class TaxaFromPairs {
 public:
  TaxaFromPairs(const MapState& map, const SampleCells& samples, const KeyedCells& occurrences,
                const TaxaOfItems& taxa, std::vector<int> leastGroup)
      : samples_(samples),
        occurrences_(occurrences),
        taxa_(taxa),
        leastGroup_(std::move(leastGroup)),
        indexOfCell_(static_cast<size_t>(map.CellRows) * map.CellColumns, -1) {}

  void Add(std::uint64_t pair) {
    const auto taxon = static_cast<std::uint32_t>(pair >> 32);
    if (found_.empty() || taxon != current_) StartTaxon(taxon);
    const int sample = occurrences_.CellOf(static_cast<int>(pair & 0xFFFFFFFF));
    const auto position = static_cast<size_t>(samples_.samples.CellOf(sample));
    const std::uint32_t years = samples_.years[static_cast<size_t>(sample)];
    std::vector<AtlasCell>& cells = found_.back().cells;
    int& index = indexOfCell_[position];
    if (index < 0) {
      index = static_cast<int>(cells.size());
      cells.push_back({position, 0, std::nullopt, std::nullopt});
    }
    AtlasCell& cell = cells[static_cast<size_t>(index)];
    ++cell.records;
    if (const std::optional<int> first = FirstYearOf(years)) {
      cell.firstYear = std::min(cell.firstYear.value_or(*first), *first);
      const int last = *LastYearOf(years);
      cell.lastYear = std::max(cell.lastYear.value_or(last), last);
    }
  }

  std::vector<AtlasTaxon> Taxa() && {
    if (!found_.empty()) EndTaxon();
    return std::move(found_);
  }

 private:
  void StartTaxon(std::uint32_t taxon) {
    if (!found_.empty()) EndTaxon();
    current_ = taxon;
    AtlasTaxon& found = found_.emplace_back();
    if (taxon != kNoRecommendedTaxon) found.key = std::string(taxa_.TaxonKey(taxon));
    const int group = leastGroup_[TaxonSlot(taxon, leastGroup_.size())];
    if (group >= 0) found.groupKey = std::string(taxa_.GroupKey(group));
  }

  // Sorts the taxon's cells into the order of the cell list and frees their
  // slots for the next taxon.
  void EndTaxon() {
    std::vector<AtlasCell>& cells = found_.back().cells;
    for (const AtlasCell& cell : cells) indexOfCell_[cell.position] = -1;
    std::ranges::sort(cells, {}, &AtlasCell::position);
  }

  const SampleCells& samples_;
  const KeyedCells& occurrences_;
  const TaxaOfItems& taxa_;
  const std::vector<int> leastGroup_;  // by taxon slot
  std::vector<int> indexOfCell_;       // by cell position, into the current taxon's cells
  std::vector<AtlasTaxon> found_;
  std::uint32_t current_ = 0;
};

}  // namespace

std::vector<AtlasTaxon> ReadAtlasStreamed(DatabaseSession& session, StreamingAccess& streaming,
                                          RowReader& beside, const MapState& map,
                                          const SampleCells& samples,
                                          std::string_view taxonGroupKeys, ProgressSink& progress) {
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  const TaxaOfItems taxa(streaming, "(" + std::string(taxonGroupKeys) + ")");
  const KeyedCells occurrences = ReadCountedOccurrences(session, streaming, beside, samples,
                                                        OccurrenceValue::Sample, progress);
  const size_t slots = static_cast<size_t>(taxa.Count()) + 1;
  WorkerRecords workers[kPassWorkers];
  for (WorkerRecords& worker : workers) worker.leastGroup.assign(slots, -1);
  ReadCountedDeterminations(
      session, streaming, beside, occurrences, taxa,
      [&](int w, int occurrence, const TaxaOfItems::Item& item) {
        WorkerRecords& worker = workers[w];
        for (const std::uint32_t taxon : item.taxa) {
          worker.pairs.push_back(std::uint64_t{taxon} << 32 |
                                 static_cast<std::uint32_t>(occurrence));
          int& least = worker.leastGroup[TaxonSlot(taxon, slots)];
          if (least < 0 || taxa.GroupKey(item.group) < taxa.GroupKey(least)) least = item.group;
        }
      },
      [&](int w) { std::ranges::sort(workers[w].pairs); }, progress);

  // Both workers' pairs in order, each distinct pair once: an occurrence with
  // two preferred determinations of one taxon is one record.
  TaxaFromPairs gathering(map, samples, occurrences, taxa, LeastGroups(workers, taxa));
  static_assert(kPassWorkers == 2);
  ForEachDistinct(workers[0].pairs, workers[1].pairs,
                  [&](std::uint64_t pair) { gathering.Add(pair); });
  std::vector<AtlasTaxon> found = std::move(gathering).Taxa();
  progress.SetProgressPosition(50);
  return found;
}

}  // namespace velmora
