#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace velmora {

// One row of a streamed result, valid only during the call that receives it.
class StreamedRow {
 public:
  virtual bool IsNull(int column) const = 0;
  // The value as text; numbers in the backend's own text form.
  virtual std::string_view Text(int column) const = 0;
  // A number as it is, a text that is wholly a decimal number as that number;
  // nothing for a null or any other text.
  virtual std::optional<double> Number(int column) const = 0;

 protected:
  ~StreamedRow() = default;
};

using RowCallback = std::function<void(const StreamedRow&)>;

// One value of a row written through a RowWriter: null, a text (the caller's,
// which must live until the rows are written) or a number.
using RowValue = std::variant<std::monostate, std::string_view, double>;

// A statement with '?' placeholders, parsed once and run once per row of typed
// values.
class RowWriter {
 public:
  virtual ~RowWriter() = default;
  // `values` holds the rows one after the other, as many values a row as the
  // statement has placeholders; they are written in one transaction where no
  // other is open. Returns the rows affected.
  virtual long long WriteRows(std::span<const RowValue> values) = 0;
};

// Results handed over row by row as they are read.
class RowReader {
 public:
  virtual ~RowReader() = default;
  // Runs one statement under the command time-out and calls `row` for each of
  // its rows. An exception from `row` ends the statement and passes out.
  virtual void Stream(const std::string& sql, const RowCallback& row) = 0;
};

// The session held on one committed state of its database, with a reader
// beside it on the same state: what another connection commits meanwhile
// neither of them sees, so that work that reads in many statements on both
// reads one state of the database. Ending the hold without End undoes what
// the session wrote meanwhile.
class HeldState {
 public:
  virtual ~HeldState() = default;
  // A connection of its own to the same database, read-only, for reading on
  // another thread while the session goes on: it sees the held state, not the
  // session's temporary tables, and has the session's time-outs.
  virtual RowReader& Beside() = 0;
  // Ends the hold and keeps what the session wrote meanwhile (its temporary
  // tables).
  virtual void End() = 0;
};

// What the embedded backend offers beyond the session's operations, for work
// on more rows than a whole result should hold: results read row by row, rows
// written with typed values, and a reader beside the session.
class StreamingAccess : public RowReader {
 public:
  virtual std::unique_ptr<RowWriter> PrepareWriter(const std::string& sql) = 0;
  // Holds the session, and a reader beside it, on the state of the database
  // committed now, until the hold ends; the session must not be in a
  // transaction of its own.
  virtual std::unique_ptr<HeldState> HoldState() = 0;
  // The name of the collating sequence that a column of the database compares
  // its values by: "BINARY" (in any case) where it declares none.
  virtual std::string ColumnCollation(const std::string& table, const std::string& column) = 0;
};

}  // namespace velmora
