#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/db/variant.h"

namespace velmora {

// The static, read-only result of one statement, read whole on the client, so
// that its row count is exact and it can be rewound and searched. Right after
// the query the current row is the first row, or the result is at its end when
// it has no rows. Moving past the end or reading a field there is an error.
class QueryResult {
 public:
  // `cells` holds the values row by row, `columns.size()` values per row.
  QueryResult(std::vector<std::string> columns, std::vector<Variant> cells);

  bool AtEnd() const { return current_ >= rowCount_; }
  void Next();
  void First() { current_ = 0; }
  int RecordCount() const { return rowCount_; }
  // 1-based ordinal of the current row; RecordCount() + 1 at the end.
  int Position() const { return current_ + 1; }

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const std::string& ColumnName(int index) const;

  // The column is found by its name, ignoring case, as the server spells it.
  Variant FieldValue(std::string_view column) const;
  // 0-based column index.
  Variant FieldValue(int index) const;

  // Criteria of the form column='value' (a quote inside the value doubled).
  // From the current row forwards, inclusive, makes the first row whose field
  // has that text the current row; at the end when no row has it.
  void Find(std::string_view criteria);

 private:
  int ColumnIndex(std::string_view column) const;
  const Variant& Cell(int row, int column) const;

  std::vector<std::string> columns_;
  std::vector<Variant> cells_;
  int rowCount_;
  int current_ = 0;
};

}  // namespace velmora
