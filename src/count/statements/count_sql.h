#pragma once

#include <string>
#include <string_view>

#include "count/year_range.h"
#include "grid/grid_types.h"
#include "platform/db/database_session.h"

namespace velmora {

// The statements of a count run, in the dialect of the session that runs them.
// The SQL Server texts are those the host's server has always been sent; the
// SQLite texts do the same on the embedded database, with the temporary tables
// in the temp schema and SQLite's string functions. The sample table they fill
// is made as sample_table.h has it, and the records they select are those of
// record_rule.h.
class CountSql {
 public:
  explicit CountSql(SqlDialect dialect) : dialect_(dialect) {}

  // Every sample with a latitude; with year limits only those dated within them.
  std::string CopySamples(const YearRange& years) const;
  // Of the samples CopySamples copies: the number without a key, and the keys
  // that stand more than once.
  std::string SamplesWithoutKey(const YearRange& years) const;
  std::string SampleKeysTwice(const YearRange& years) const;
  std::string SamplesToConvert() const;
  // With bound parameters: cell code, grid system code, sample key.
  std::string UpdateSampleCell() const;
  // The take-over of the grid references of the systems that offer the grid
  // type, as far as they are cell codes of their own system.
  std::string TakeOverGridReferences(const GridTypeInfo& gridType) const;
  std::string DeleteEmptyCodes() const;
  std::string DeleteMissingCodes() const;
  // sheetList as SheetListSql gives it; "()" (no sheets) removes every sample.
  std::string DeleteOutsideSheets(std::string_view sheetList) const;

  std::string DropInterim() const;
  // Codes are cut to the grid type's code length (one more for a west sheet);
  // the key lists are complete SQL lists such as ('K1','K2'). With
  // `occurrences` each row also keeps its taxon occurrence's key, which the
  // records are counted by.
  std::string SelectInterim(const GridTypeInfo& gridType, std::string_view taxonGroupList,
                            std::string_view surveyList, bool occurrences = false) const;
  // Per cell, in the order of the codes: its distinct taxa, or its distinct
  // occurrences from a selection that kept them.
  std::string CountPerCell(const GridTypeInfo& gridType) const;
  std::string RecordsPerCell(const GridTypeInfo& gridType) const;
  // The distinct taxa of all cells together, a missing recommended taxon
  // counting as one, as in CountPerCell.
  std::string DistinctTaxa(const GridTypeInfo& gridType) const;

 private:
  bool SqlServer() const { return dialect_ == SqlDialect::SqlServer; }
  std::string FullLengthCodes(const GridTypeInfo& gridType) const;
  SqlDialect dialect_;
};

}  // namespace velmora
