#include "count/streamed_count.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "count/count_sql.h"
#include "count/key_index.h"
#include "count/key_progress.h"
#include "count/keyed_cells.h"
#include "count/large_blocks.h"

namespace velmora {
namespace {

// As the statements: the long pass over the host's records gets this much time.
constexpr int kCountTimeoutSeconds = 400;

// The bar moves after this many rows, and while one half of a pass waits for
// the other after this time.
constexpr size_t kProgressRows = 65536;
constexpr std::chrono::milliseconds kWaitStep{200};

// A recommended taxon-list item that is NULL counts as one taxon of its own.
constexpr std::uint32_t kNoRecommendedTaxon = 0x7FFFFFFF;

// The taxa of the taxon-list items of the chosen groups: the recommended item
// of each name through INDEX_TAXON_NAME, the group through TAXON_LIST_ITEM and
// TAXON_VERSION, as the selection's joins and its group condition give them.
class TaxaOfItems {
 public:
  TaxaOfItems(StreamingAccess& streaming, std::string_view taxonGroupList) {
    std::vector<std::pair<int, std::uint32_t>> rows;
    streaming.Stream(
        "SELECT itn.TAXON_LIST_ITEM_KEY, itn.RECOMMENDED_TAXON_LIST_ITEM_KEY FROM "
        "INDEX_TAXON_NAME itn INNER JOIN TAXON_LIST_ITEM TLI ON itn.TAXON_LIST_ITEM_KEY = "
        "TLI.TAXON_LIST_ITEM_KEY INNER JOIN TAXON_VERSION TV ON TV.TAXON_VERSION_KEY = "
        "TLI.TAXON_VERSION_KEY WHERE TV.OUTPUT_GROUP_KEY IN " +
            std::string(taxonGroupList),
        [&](const StreamedRow& row) {
          if (row.IsNull(0)) return;
          const std::uint32_t taxon = row.IsNull(1)
                                          ? kNoRecommendedTaxon
                                          : static_cast<std::uint32_t>(taxa_.Add(row.Text(1)));
          rows.emplace_back(items_.Add(row.Text(0)), taxon);
        });
    // An item of two index rows has two taxa.
    std::ranges::sort(rows);
    ends_.assign(static_cast<size_t>(items_.Size()), 0);
    for (const auto& [item, taxon] : rows) {
      taxonOf_.push_back(taxon);
      ends_[item] = static_cast<std::uint32_t>(taxonOf_.size());
    }
  }

  // The taxa of an item; none for an item outside the chosen groups.
  std::span<const std::uint32_t> Of(std::string_view item) const {
    const int number = items_.Find(item);
    if (number < 0) return {};
    const std::uint32_t begin = number == 0 ? 0 : ends_[number - 1];
    return std::span(taxonOf_).subspan(begin, ends_[number] - begin);
  }

 private:
  KeyIndex items_;
  KeyIndex taxa_;
  std::vector<std::uint32_t> ends_;  // by item number, into taxonOf_
  std::vector<std::uint32_t> taxonOf_;
};

// Ends the second half's reading when the count has stopped without it.
struct ReaderStopped {};

// A table read in the order of its key. The tables are named as the
// statements name them, so that a database without one fails with the same
// message.
struct KeyedTable {
  std::string_view table;
  std::string_view key;
};

// The key at which the second half of a pass starts: the first key half way
// through the range of keys; nothing when there is none to split at.
std::optional<std::string> SplitKey(DatabaseSession& session, const KeyedTable& table,
                                    const KeyProgress& keys) {
  const auto first = session.OpenQuery(
      "SELECT min(" + std::string(table.key) + ") FROM " + std::string(table.table) + " WHERE " +
      std::string(table.key) + " > " + QuoteSqlText(keys.KeyAt(0.5)));
  if (std::holds_alternative<std::monostate>(first->FieldValue(0))) return std::nullopt;
  return VariantToText(first->FieldValue(0));
}

// Reads a table in two halves of its keys at once, on two connections and
// two cores: the lower half on the session's connection on this thread, the
// upper half on a reader beside it. `sql` makes the statement of a half from
// its condition on the key (" AND key < 'x'", or nothing for the whole table);
// the statement gives the key in column `keyColumn`, for the bar, which goes
// from `from` to `to`. `read(half, row)` takes the rows of half 0 and half 1,
// each half on its own thread, and `done(half)` ends each half there.
void ReadInHalves(DatabaseSession& session, StreamingAccess& streaming, const KeyedTable& table,
                  const std::function<std::string(const std::string&)>& sql, int keyColumn,
                  const std::function<void(int, const StreamedRow&)>& read,
                  const std::function<void(int)>& done, ProgressSink& progress, int from, int to) {
  const KeyProgress keys = KeyProgressOf(session, table.table, table.key);
  const std::optional<std::string> split = SplitKey(session, table, keys);
  // How far each half has come through the keys, together.
  const int splitPercent = split ? keys.Percent(*split) : 100;
  std::atomic<int> upperPercent = splitPercent;
  const auto bar = [&](int lowerPercent) {
    progress.SetProgressPosition(from +
                                 (to - from) * (lowerPercent + upperPercent - splitPercent) / 100);
  };
  const std::string key = std::string(table.key);
  std::exception_ptr upperError;
  std::promise<void> upperRead;
  std::future<void> upperDone = upperRead.get_future();
  std::unique_ptr<RowReader> reader;
  std::jthread beside;
  if (split) {
    reader = streaming.OpenReader();
    beside = std::jthread([&](std::stop_token stop) {
      try {
        size_t rows = 0;
        reader->Stream(sql(" AND " + key + " COLLATE BINARY >= " + QuoteSqlText(*split)),
                       [&](const StreamedRow& row) {
                         if (++rows % kProgressRows == 0) {
                           if (stop.stop_requested()) throw ReaderStopped();
                           upperPercent = keys.Percent(row.Text(keyColumn));
                         }
                         read(1, row);
                       });
        done(1);
      } catch (const ReaderStopped&) {
      } catch (...) {
        upperError = std::current_exception();
      }
      upperRead.set_value();
    });
  } else {
    upperRead.set_value();
  }
  size_t rows = 0;
  streaming.Stream(sql(split ? " AND " + key + " COLLATE BINARY < " + QuoteSqlText(*split) : ""),
                   [&](const StreamedRow& row) {
                     if (++rows % kProgressRows == 0) bar(keys.Percent(row.Text(keyColumn)));
                     read(0, row);
                   });
  done(0);
  // The bar goes on with the other half while it is read.
  while (upperDone.wait_for(kWaitStep) == std::future_status::timeout) bar(splitPercent);
  if (upperError) std::rethrow_exception(upperError);
}

// The qualifying occurrences of a range of their keys, in the byte order of
// the keys, which the search by key relies on; the
// same conditions as the selection of the statements.
std::string OccurrencesSql(const std::string& range) {
  return "SELECT TAXON_OCCURRENCE_KEY, SAMPLE_KEY FROM taxon_occurrence WHERE CONFIDENTIAL=0 "
         "AND ZERO_ABUNDANCE=0 AND CHECKED=1" +
         range + " ORDER BY TAXON_OCCURRENCE_KEY COLLATE BINARY";
}

// The preferred determinations of a range of their keys, in key order.
std::string DeterminationsSql(const std::string& range) {
  return "SELECT TAXON_OCCURRENCE_KEY, TAXON_LIST_ITEM_KEY, TAXON_DETERMINATION_KEY FROM "
         "taxon_determination WHERE PREFERRED = 1" +
         range + " ORDER BY TAXON_DETERMINATION_KEY COLLATE BINARY";
}

// The occurrences that count in a cell, with that cell: those of a sample
// that counts in one.
KeyedCells CountedOccurrences(DatabaseSession& session, StreamingAccess& streaming,
                              const SampleCells& samples, ProgressSink& progress) {
  KeyedCells halves[2];
  int nearSample[2] = {0, 0};
  ReadInHalves(
      session, streaming, {"taxon_occurrence", "TAXON_OCCURRENCE_KEY"}, OccurrencesSql, 0,
      [&](int half, const StreamedRow& row) {
        if (row.IsNull(0) || row.IsNull(1)) return;
        // The occurrences of a sample mostly follow one another, and the
        // samples mostly come in the order of their keys.
        const int sample = samples.samples.Find(row.Text(1), nearSample[half]);
        if (sample < 0 || samples.samples.CellOf(sample) < 0) return;
        halves[half].Add(row.Text(0), samples.samples.CellOf(sample));
      },
      [](int) {}, progress, 0, 25);
  halves[0].Append(halves[1]);
  halves[0].Seal();
  return std::move(halves[0]);
}

// The (cell, taxon) pairs that one half of the determinations found, as
// cell * 2^32 + taxon, sorted, and the records it counted per cell.
struct HalfCount {
  LargeVector<std::uint64_t> pairs;
  LargeVector<int> records;  // by cell, as many as the map has
  int nearOccurrence = 0;
};

// Counts the distinct taxa of every cell from both halves' sorted pairs, and
// adds up their records.
FiguresOfCells Figures(HalfCount (&halves)[2], size_t cellCount, bool records) {
  FiguresOfCells cells(cellCount);
  const LargeVector<std::uint64_t>& a = halves[0].pairs;
  const LargeVector<std::uint64_t>& b = halves[1].pairs;
  std::uint64_t last = ~std::uint64_t{0};
  for (size_t i = 0, j = 0; i < a.size() || j < b.size();) {
    const std::uint64_t pair = j == b.size() || (i < a.size() && a[i] < b[j]) ? a[i++] : b[j++];
    if (pair != last) ++cells[pair >> 32].taxa;
    last = pair;
  }
  if (records) {
    for (size_t cell = 0; cell < cellCount; ++cell) {
      cells[cell].records = halves[0].records[cell] + halves[1].records[cell];
    }
  }
  return cells;
}

}  // namespace

CountResult CountTaxaStreamed(DatabaseSession& session, StreamingAccess& streaming, MapState& map,
                              const SampleCells& samples, std::string_view taxonGroupKeys,
                              CountFigures figures, ProgressSink& progress) {
  progress.SetProgressPosition(0);
  progress.SetProgressText("Hole Beobachtungen...");
  session.SetCommandTimeout(kCountTimeoutSeconds);
  session.SetConnectionTimeout(kCountTimeoutSeconds);
  const TaxaOfItems taxa(streaming, "(" + std::string(taxonGroupKeys) + ")");

  // The occurrences and then their determinations are each read whole, in
  // two halves at once, and joined here: looking each determination's
  // occurrence up in the database would cost a search of its key index per
  // record, most of the work.
  KeyedCells occurrences = CountedOccurrences(session, streaming, samples, progress);
  const size_t cellCount = static_cast<size_t>(map.CellRows) * map.CellColumns;
  HalfCount halves[2];
  for (HalfCount& half : halves) {
    if (figures.records) half.records.assign(cellCount, 0);
  }
  ReadInHalves(
      session, streaming, {"taxon_determination", "TAXON_DETERMINATION_KEY"}, DeterminationsSql, 2,
      [&](int h, const StreamedRow& row) {
        if (row.IsNull(0) || row.IsNull(1)) return;
        HalfCount& half = halves[h];
        const int occurrence = occurrences.Find(row.Text(0), half.nearOccurrence);
        if (occurrence < 0) return;
        const std::span<const std::uint32_t> taxaOfItem = taxa.Of(row.Text(1));
        if (taxaOfItem.empty()) return;
        const std::uint64_t cell = static_cast<std::uint32_t>(occurrences.CellOf(occurrence));
        for (const std::uint32_t taxon : taxaOfItem) {
          const std::uint64_t pair = cell << 32 | taxon;
          if (half.pairs.empty() || half.pairs.back() != pair) half.pairs.push_back(pair);
        }
        // An occurrence with two preferred determinations is still one record.
        if (figures.records && occurrences.MarkCounted(occurrence)) ++half.records[cell];
      },
      [&](int h) { std::ranges::sort(halves[h].pairs); }, progress, 25, 50);
  occurrences = {};
  const FiguresOfCells cells = Figures(halves, cellCount, figures.records);

  progress.SetProgressPosition(50);
  progress.SetProgressText("Zähle Datensätze...");
  if (std::ranges::none_of(cells, [](const CellFigures& cell) { return cell.taxa > 0; })) {
    return {};
  }
  progress.SetProgressText("Übertrage Auszählergebnisse");
  progress.SetProgressPosition(0);
  return TransferCounts(cells, figures, map, progress);
}

}  // namespace velmora
