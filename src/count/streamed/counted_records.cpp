#include "count/streamed/counted_records.h"

#include <string>

#include "count/record_rule.h"
#include "count/streamed/parted_pass.h"

namespace velmora {
namespace {

// The occurrences that count by the record rule, of a range of their keys, in
// the byte order of the keys, which the search by key relies on.
std::string OccurrencesSql(const std::string& range) {
  return "SELECT TAXON_OCCURRENCE_KEY, SAMPLE_KEY FROM taxon_occurrence WHERE " +
         CountedOccurrenceCondition() + range + " ORDER BY TAXON_OCCURRENCE_KEY COLLATE BINARY";
}

// The determinations that count by the record rule, of a range of their
// keys, in key order.
std::string DeterminationsSql(const std::string& range) {
  return "SELECT TAXON_OCCURRENCE_KEY, TAXON_LIST_ITEM_KEY, TAXON_DETERMINATION_KEY FROM "
         "taxon_determination WHERE " +
         CountedDeterminationCondition() + range +
         " ORDER BY TAXON_DETERMINATION_KEY COLLATE BINARY";
}

}  // namespace

KeyedCells ReadCountedOccurrences(DatabaseSession& session, StreamingAccess& streaming,
                                  RowReader& beside, const SampleCells& samples,
                                  OccurrenceValue value, ProgressSink& progress) {
  KeyedCells parts[kPassParts];
  int nearSample[kPassWorkers] = {};
  ReadInParts(session, streaming, beside,
              {.table = {"taxon_occurrence", "TAXON_OCCURRENCE_KEY"},
               .sql = OccurrencesSql,
               .keyColumn = 0,
               .read =
                   [&](int worker, int part, const StreamedRow& row) {
                     if (row.IsNull(0) || row.IsNull(1)) return;
                     // The occurrences of a sample mostly follow one another,
                     // and the samples mostly come in the order of their keys.
                     const int sample = samples.samples.Find(row.Text(1), nearSample[worker]);
                     if (sample < 0 || samples.samples.CellOf(sample) < 0) return;
                     parts[part].Add(row.Text(0), value == OccurrenceValue::Cell
                                                      ? samples.samples.CellOf(sample)
                                                      : sample);
                   },
               .done = [](int) {}},
              progress, 0, 25);
  KeyedCells occurrences = KeyedCells::Join(parts);
  occurrences.Seal();
  return occurrences;
}

void ReadCountedDeterminations(DatabaseSession& session, StreamingAccess& streaming,
                               RowReader& beside, const KeyedCells& occurrences,
                               const TaxaOfItems& taxa, const TakeDetermination& take,
                               const std::function<void(int)>& done, ProgressSink& progress) {
  int nearOccurrence[kPassWorkers] = {};
  ReadInParts(session, streaming, beside,
              {.table = {"taxon_determination", "TAXON_DETERMINATION_KEY"},
               .sql = DeterminationsSql,
               .keyColumn = 2,
               .read =
                   [&](int worker, int, const StreamedRow& row) {
                     if (row.IsNull(0) || row.IsNull(1)) return;
                     const int occurrence = occurrences.Find(row.Text(0), nearOccurrence[worker]);
                     if (occurrence < 0) return;
                     const TaxaOfItems::Item item = taxa.Of(row.Text(1));
                     if (!item.taxa.empty()) take(worker, occurrence, item);
                   },
               .done = done},
              progress, 25, 50);
}

}  // namespace velmora
