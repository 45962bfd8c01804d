#include "count/streamed/streamed_count.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "count/large_blocks.h"
#include "count/record_rule.h"
#include "count/streamed/counted_records.h"
#include "count/streamed/keyed_cells.h"
#include "count/streamed/parted_pass.h"
#include "count/streamed/sorted_pairs.h"
#include "count/streamed/taxa_of_items.h"

namespace velmora {
namespace {

// As the statements: the long pass over the host's records gets this much time.
constexpr int kCountTimeoutSeconds = 400;

// The (cell, taxon) pairs that one worker found among the determinations, as
// cell * 2^32 + taxon, sorted, and the records it counted per cell.
struct WorkerCount {
  LargeVector<std::uint64_t> pairs;
  LargeVector<int> records;  // by cell, as many as the map has
};

// Counts the distinct taxa of every cell from both workers' sorted pairs, and
// adds up their records.
FiguresOfCells Figures(WorkerCount (&workers)[kPassWorkers], size_t cellCount, bool records) {
  static_assert(kPassWorkers == 2);
  FiguresOfCells cells(cellCount);
  ForEachDistinct(workers[0].pairs, workers[1].pairs,
                  [&](std::uint64_t pair) { ++cells[pair >> 32].taxa; });
  if (records) {
    for (size_t cell = 0; cell < cellCount; ++cell) {
      cells[cell].records = workers[0].records[cell] + workers[1].records[cell];
    }
  }
  return cells;
}

// The distinct taxa of all cells in both workers' pairs.
int DistinctTaxa(const WorkerCount (&workers)[kPassWorkers], const TaxaOfItems& taxa) {
  std::vector<bool> seen(static_cast<size_t>(taxa.Count()) + 1);
  for (const WorkerCount& worker : workers) {
    for (const std::uint64_t pair : worker.pairs) {
      const auto taxon = static_cast<std::uint32_t>(pair);
      seen[taxon == kNoRecommendedTaxon ? seen.size() - 1 : taxon] = true;
    }
  }
  return static_cast<int>(std::ranges::count(seen, true));
}

}  // namespace

CountResult CountTaxaStreamed(DatabaseSession& session, StreamingAccess& streaming,
                              RowReader& beside, MapState& map, const SampleCells& samples,
                              std::string_view taxonGroupKeys, CountFigures figures,
                              ProgressSink& progress) {
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  session.SetCommandTimeout(kCountTimeoutSeconds);
  session.SetConnectionTimeout(kCountTimeoutSeconds);
  const TaxaOfItems taxa(streaming, "(" + std::string(taxonGroupKeys) + ")");

  // The occurrences and then their determinations are each read whole, in
  // parts on two cores at once, and joined here: looking each determination's
  // occurrence up in the database would cost a search of its key index per
  // record, most of the work.
  KeyedCells occurrences =
      ReadCountedOccurrences(session, streaming, beside, samples, OccurrenceValue::Cell, progress);
  const size_t cellCount = static_cast<size_t>(map.CellRows) * map.CellColumns;
  WorkerCount workers[kPassWorkers];
  for (WorkerCount& worker : workers) {
    if (figures.records) worker.records.assign(cellCount, 0);
  }
  ReadCountedDeterminations(
      session, streaming, beside, occurrences, taxa,
      [&](int w, int occurrence, const TaxaOfItems::Item& item) {
        WorkerCount& worker = workers[w];
        const std::uint64_t cell = static_cast<std::uint32_t>(occurrences.CellOf(occurrence));
        for (const std::uint32_t taxon : item.taxa) {
          const std::uint64_t pair = cell << 32 | taxon;
          if (worker.pairs.empty() || worker.pairs.back() != pair) worker.pairs.push_back(pair);
        }
        // An occurrence with two preferred determinations is still one record.
        if (figures.records && occurrences.MarkCounted(occurrence)) ++worker.records[cell];
      },
      [&](int w) { std::ranges::sort(workers[w].pairs); }, progress);
  occurrences = {};
  const FiguresOfCells cells = Figures(workers, cellCount, figures.records);
  const int distinctTaxa = DistinctTaxa(workers, taxa);

  progress.SetProgressPosition(50);
  progress.SetProgressText("Zähle Datensätze...");
  if (std::ranges::none_of(cells, [](const CellFigures& cell) { return cell.taxa > 0; })) {
    return {};
  }
  progress.SetProgressText("Übertrage Auszählergebnisse");
  progress.SetProgressPosition(0);
  CountResult result = TransferCounts(cells, figures, map, progress);
  result.distinctTaxa = distinctTaxa;
  return result;
}

}  // namespace velmora
