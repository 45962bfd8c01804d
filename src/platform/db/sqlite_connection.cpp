// The embedded backend: one libsqlite3 connection. The command time-out is a
// deadline that the progress handler checks while a statement runs and the
// busy handler checks while the statement waits for a lock that another
// connection holds; while the connection opens, the connection time-out bounds
// that wait instead.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/db/connection.h"
#include "platform/errors.h"

namespace velmora {

namespace {

using Clock = std::chrono::steady_clock;

// How many virtual-machine steps pass between two looks at the clock.
constexpr int kProgressSteps = 1000;

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The handle and the command clock, shared by the connection and the statements
// it prepared, so that a statement never outlives the handle it belongs to.
class SqliteDatabase {
 public:
  // `access` is SQLITE_OPEN_READWRITE or SQLITE_OPEN_READONLY.
  SqliteDatabase(const std::string& path, Timeouts timeouts, int access)
      : path_(path), connectionSeconds_(timeouts.connectionSeconds) {
    sqlite3* db = nullptr;
    // One thread uses a connection at a time, so the library's own locking is
    // not needed.
    const int rc = sqlite3_open_v2(path.c_str(), &db, access | SQLITE_OPEN_NOMUTEX, nullptr);
    handle_.reset(db);
    if (rc != SQLITE_OK) {
      throw DatabaseError(std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ": " + path);
    }
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_handler(db, &SqliteDatabase::OnBusy, this);
    SetCommandTimeout(timeouts.commandSeconds);
    lockDeadline_ = DeadlineAfter(timeouts.connectionSeconds);
  }

  sqlite3* Handle() const { return handle_.get(); }
  const std::string& Path() const { return path_; }
  Timeouts CurrentTimeouts() const { return {connectionSeconds_, commandSeconds_}; }
  // Without a time limit no handler runs at all.
  void SetCommandTimeout(int seconds) {
    commandSeconds_ = seconds;
    if (seconds > 0) {
      sqlite3_progress_handler(Handle(), kProgressSteps, &SqliteDatabase::OnProgress, this);
    } else {
      sqlite3_progress_handler(Handle(), 0, nullptr, nullptr);
    }
  }

  // Starts the clock of one command, which also bounds its wait for locks.
  void StartCommand() {
    timedOut_ = false;
    deadline_ = DeadlineAfter(commandSeconds_);
    lockDeadline_ = deadline_;
  }

  [[noreturn]] void Fail(int rc) const {
    const std::string message = sqlite3_errmsg(Handle());
    const bool timedOut = rc == SQLITE_INTERRUPT && timedOut_;
    throw DatabaseError(timedOut ? TimedOutMessage(message, commandSeconds_) : message);
  }

  StatementHandle Compile(const char*& text) const {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(Handle(), text, -1, &statement, &text);
    StatementHandle owned(statement);
    if (rc != SQLITE_OK) Fail(rc);
    return owned;
  }

  // Runs a statement without rows, such as BEGIN or COMMIT.
  void Execute(const char* sql) const {
    const int rc = sqlite3_exec(Handle(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
  }

  // A number that changes whenever another connection has committed to the
  // database since this one last read it. Inside a transaction it also begins
  // the transaction's read: from then on the transaction reads that state.
  long long DataVersion() {
    StartCommand();
    const char* text = "PRAGMA data_version";
    const StatementHandle statement = Compile(text);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW) Fail(rc);
    return sqlite3_column_int64(statement.get(), 0);
  }

 private:
  static Clock::time_point DeadlineAfter(int seconds) {
    return seconds > 0 ? Clock::now() + std::chrono::seconds(seconds) : Clock::time_point::max();
  }

  static int OnProgress(void* self) {
    auto* database = static_cast<SqliteDatabase*>(self);
    if (Clock::now() < database->deadline_) return 0;
    database->timedOut_ = true;
    return 1;
  }

  // Waits for another connection's lock until the deadline, then lets the
  // statement fail with SQLite's own "database is locked". Short naps first,
  // as SQLite's busy timeout takes them, so that a lock held briefly costs little.
  static int OnBusy(void* self, int attempt) {
    const Clock::time_point deadline = static_cast<SqliteDatabase*>(self)->lockDeadline_;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return 0;
    const auto nap = std::chrono::milliseconds(std::min(1 << std::min(attempt, 6), 50));
    std::this_thread::sleep_for(std::min<Clock::duration>(nap, deadline - now));
    return 1;
  }

  std::string path_;
  int connectionSeconds_;
  std::unique_ptr<sqlite3, SqliteCloser> handle_;
  int commandSeconds_ = 0;
  Clock::time_point deadline_ = Clock::time_point::max();
  Clock::time_point lockDeadline_ = Clock::time_point::max();
  bool timedOut_ = false;
};

Variant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
      return std::monostate{};
    case SQLITE_INTEGER:
      return static_cast<long long>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
      return sqlite3_column_double(statement, column);
    default: {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
      return std::string(bytes ? bytes : "", sqlite3_column_bytes(statement, column));
    }
  }
}

// Steps a statement to its end; collects its rows when `rows` is given.
void RunToEnd(const SqliteDatabase& database, sqlite3_stmt* statement, std::vector<Variant>* rows) {
  const int columns = sqlite3_column_count(statement);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (!rows) continue;
    for (int column = 0; column < columns; ++column) {
      rows->push_back(ColumnValue(statement, column));
    }
  }
  if (rc != SQLITE_DONE) database.Fail(rc);
}

// A row of the statement as it steps; the texts SQLite gives stay valid until
// the next step.
class SqliteRow final : public StreamedRow {
 public:
  explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}

  bool IsNull(int column) const override {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
  }

  std::string_view Text(int column) const override {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    if (!text) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
  }

  // As VariantToNumber reads the value that a whole result would hold.
  std::optional<double> Number(int column) const override {
    switch (sqlite3_column_type(statement_, column)) {
      case SQLITE_NULL:
        return std::nullopt;
      case SQLITE_INTEGER:
        return static_cast<double>(sqlite3_column_int64(statement_, column));
      case SQLITE_FLOAT:
        return sqlite3_column_double(statement_, column);
      default:
        return TextToNumber(Text(column));
    }
  }

 private:
  sqlite3_stmt* statement_;
};

// One statement, compiled; an empty text or a second statement is refused.
StatementHandle CompileSingle(const SqliteDatabase& database, const std::string& sql) {
  const char* text = sql.c_str();
  StatementHandle statement = database.Compile(text);
  if (!statement) throw DatabaseError("The statement to prepare is empty");
  if (std::string_view(text).find_first_not_of(" \t\r\n;") != std::string_view::npos) {
    throw DatabaseError("A prepared statement must be a single statement: " + sql);
  }
  return statement;
}

void StreamRows(SqliteDatabase& database, const std::string& sql, const RowCallback& row) {
  database.StartCommand();
  const StatementHandle statement = CompileSingle(database, sql);
  const SqliteRow view(statement.get());
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) row(view);
  if (rc != SQLITE_DONE) database.Fail(rc);
}

// A connection of its own to the session's database, that only reads.
class SqliteReader final : public RowReader {
 public:
  explicit SqliteReader(const SqliteDatabase& session)
      : database_(session.Path(), session.CurrentTimeouts(), SQLITE_OPEN_READONLY) {}

  void Stream(const std::string& sql, const RowCallback& row) override {
    StreamRows(database_, sql, row);
  }

  SqliteDatabase& Database() { return database_; }

 private:
  SqliteDatabase database_;
};

// Ends a transaction that is given up; an error has nothing left to undo.
void RollBack(const SqliteDatabase& database) {
  sqlite3_exec(database.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

// Both connections begin their reads in transactions, the session's first. They
// read the same state when nothing was committed between the reader's look
// before and its read: the session's read began in between. Otherwise both
// begin again; SQLite's snapshot functions would say it directly, but the
// system's library is built without them.
class SqliteHeldState final : public HeldState {
 public:
  explicit SqliteHeldState(std::shared_ptr<SqliteDatabase> session)
      : session_(std::move(session)), beside_(*session_) {
    if (sqlite3_get_autocommit(session_->Handle()) == 0) {
      throw DatabaseError("The session is in a transaction: no state of the database can be held");
    }
    try {
      Begin();
    } catch (...) {
      RollBack(beside_.Database());
      RollBack(*session_);
      throw;
    }
  }

  ~SqliteHeldState() override {
    if (!held_) return;
    RollBack(beside_.Database());
    RollBack(*session_);
  }

  RowReader& Beside() override { return beside_; }

  void End() override {
    session_->Execute("COMMIT");
    held_ = false;
    RollBack(beside_.Database());
  }

 private:
  // Each attempt waits a millisecond longer: together about a second.
  static constexpr int kAttempts = 45;

  void Begin() {
    SqliteDatabase& reader = beside_.Database();
    for (int attempt = 1;; ++attempt) {
      const long long before = reader.DataVersion();
      session_->Execute("BEGIN");
      session_->DataVersion();
      reader.Execute("BEGIN");
      if (reader.DataVersion() == before) return;
      RollBack(reader);
      RollBack(*session_);
      if (attempt == kAttempts) {
        throw DatabaseError("The database changed each time it was to be read in one state");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(attempt));
    }
  }

  std::shared_ptr<SqliteDatabase> session_;
  SqliteReader beside_;
  bool held_ = true;
};

// An INSERT whose text ends in its one group of values, "VALUES (?, ?)", as an
// INSERT of `rows` such groups; nothing for any other statement.
std::optional<std::string> ManyRowsOf(const std::string& sql, int rows) {
  const size_t values = sql.rfind("VALUES");
  if (values == std::string::npos) return std::nullopt;
  const size_t open = sql.find_first_not_of(" \t\r\n", values + 6);
  const size_t close = sql.find_last_not_of(" \t\r\n;");
  if (open == std::string::npos || sql[open] != '(' || sql[close] != ')' ||
      sql.find_first_of("()", open + 1) != close) {
    return std::nullopt;
  }
  const std::string group = sql.substr(open, close + 1 - open);
  std::string many = sql.substr(0, open) + group;
  for (int row = 1; row < rows; ++row) many += ", " + group;
  return many;
}

// A prepared statement run per row, with text rows (PreparedStatement) or typed
// values (RowWriter); each batch in one transaction unless one is open.
class SqlitePreparedStatement : public PreparedStatement, public RowWriter {
 public:
  // `many` inserts kRowsAtOnce rows in one run where the statement allows it.
  SqlitePreparedStatement(std::shared_ptr<SqliteDatabase> database, StatementHandle statement,
                          StatementHandle many = nullptr)
      : database_(std::move(database)),
        statement_(std::move(statement)),
        many_(std::move(many)),
        parameters_(sqlite3_bind_parameter_count(statement_.get())) {}

  // Rows written by one run of a statement of many rows: a run costs about as
  // much as the row it writes.
  static constexpr int kRowsAtOnce = 64;

  long long ExecuteBatch(std::span<const std::vector<std::string>> rows) override {
    for (const auto& row : rows) {
      if (static_cast<int>(row.size()) != parameters_) {
        throw DatabaseError("The statement takes " + std::to_string(parameters_) +
                            " parameters, but a row gives " + std::to_string(row.size()));
      }
    }
    return InTransaction(rows.size(), [&] {
      long long affected = 0;
      for (const auto& row : rows) {
        for (int i = 0; i < parameters_; ++i) BindText(statement_.get(), i, row[i]);
        affected += ExecuteOnce(statement_.get());
      }
      return affected;
    });
  }

  long long WriteRows(std::span<const RowValue> values) override {
    if (parameters_ == 0 || values.size() % parameters_ != 0) {
      throw DatabaseError("The statement takes " + std::to_string(parameters_) +
                          " values a row, but " + std::to_string(values.size()) +
                          " values do not make whole rows");
    }
    const size_t rows = values.size() / parameters_;
    return InTransaction(rows, [&] {
      long long affected = 0;
      size_t r = 0;
      if (many_) {
        for (; rows - r >= kRowsAtOnce; r += kRowsAtOnce) {
          const auto run = values.subspan(r * parameters_, size_t{kRowsAtOnce} * parameters_);
          for (size_t i = 0; i < run.size(); ++i) Bind(many_.get(), static_cast<int>(i), run[i]);
          affected += ExecuteOnce(many_.get());
        }
      }
      for (; r < rows; ++r) {
        for (int i = 0; i < parameters_; ++i) {
          Bind(statement_.get(), i, values[r * parameters_ + i]);
        }
        affected += ExecuteOnce(statement_.get());
      }
      return affected;
    });
  }

 private:
  // Runs `write` (which gives the rows affected) in a transaction of its own
  // unless one is open.
  template <typename Write>
  long long InTransaction(std::size_t rows, Write write) {
    if (rows == 0) return 0;
    sqlite3* db = database_->Handle();
    const bool ownTransaction = sqlite3_get_autocommit(db) != 0;
    database_->StartCommand();
    if (ownTransaction) database_->Execute("BEGIN");
    long long affected = 0;
    try {
      affected = write();
    } catch (...) {
      if (ownTransaction && sqlite3_get_autocommit(db) == 0) RollBack(*database_);
      throw;
    }
    if (ownTransaction) database_->Execute("COMMIT");
    return affected;
  }

  static void BindText(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index + 1, text.data(), static_cast<int>(text.size()),
                      SQLITE_STATIC);
  }

  static void Bind(sqlite3_stmt* statement, int index, const RowValue& value) {
    if (const auto* text = std::get_if<std::string_view>(&value)) {
      BindText(statement, index, *text);
    } else if (const double* number = std::get_if<double>(&value)) {
      sqlite3_bind_double(statement, index + 1, *number);
    } else {
      sqlite3_bind_null(statement, index + 1);
    }
  }

  long long ExecuteOnce(sqlite3_stmt* statement) {
    struct Reset {
      sqlite3_stmt* statement;
      ~Reset() { sqlite3_reset(statement); }
    } reset{statement};
    RunToEnd(*database_, statement, nullptr);
    return sqlite3_changes64(database_->Handle());
  }

  std::shared_ptr<SqliteDatabase> database_;
  StatementHandle statement_;
  StatementHandle many_;
  int parameters_;
};

class SqliteConnection : public Connection, public StreamingAccess {
 public:
  SqliteConnection(const std::string& path, Timeouts timeouts)
      : database_(std::make_shared<SqliteDatabase>(path, timeouts, SQLITE_OPEN_READWRITE)) {
    // A file that is not a database opens without complaint; the first read
    // tells. It waits for a lock as long as the connection time-out allows.
    RunStatements("SELECT count(*) FROM sqlite_master", nullptr, nullptr);
  }

  SqlDialect Dialect() const override { return SqlDialect::SQLite; }
  void SetCommandTimeout(int seconds) override { database_->SetCommandTimeout(seconds); }
  // The connection time-out bounds the opening alone, which is over.
  void SetConnectionTimeout(int) override {}

  long long Execute(const std::string& sql) override {
    sqlite3* db = database_->Handle();
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    Run(sql, nullptr, nullptr);
    return sqlite3_total_changes64(db) - before;
  }

  std::unique_ptr<QueryResult> Query(const std::string& sql) override {
    std::vector<std::string> columns;
    std::vector<Variant> cells;
    Run(sql, &columns, &cells);
    return std::make_unique<QueryResult>(std::move(columns), std::move(cells));
  }

  std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) override {
    return std::make_unique<SqlitePreparedStatement>(database_, CompileSingle(*database_, sql));
  }

  StreamingAccess* Streaming() override { return this; }

  void Stream(const std::string& sql, const RowCallback& row) override {
    StreamRows(*database_, sql, row);
  }

  std::unique_ptr<RowWriter> PrepareWriter(const std::string& sql) override {
    StatementHandle statement = CompileSingle(*database_, sql);
    // A statement of many rows that the library refuses (too many
    // placeholders, say) leaves the rows to the statement of one.
    StatementHandle many;
    if (const std::optional<std::string> manyRows =
            ManyRowsOf(sql, SqlitePreparedStatement::kRowsAtOnce)) {
      const char* text = manyRows->c_str();
      sqlite3_stmt* compiled = nullptr;
      if (sqlite3_prepare_v2(database_->Handle(), text, -1, &compiled, nullptr) == SQLITE_OK) {
        many.reset(compiled);
      } else {
        sqlite3_finalize(compiled);
      }
    }
    return std::make_unique<SqlitePreparedStatement>(database_, std::move(statement),
                                                     std::move(many));
  }

  std::unique_ptr<HeldState> HoldState() override {
    return std::make_unique<SqliteHeldState>(database_);
  }

  std::string ColumnCollation(const std::string& table, const std::string& column) override {
    const char* collation = nullptr;
    const int rc =
        sqlite3_table_column_metadata(database_->Handle(), nullptr, table.c_str(), column.c_str(),
                                      nullptr, &collation, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) database_->Fail(rc);
    return collation ? collation : "BINARY";
  }

 private:
  // Runs the text as one command, under the command time-out.
  void Run(const std::string& sql, std::vector<std::string>* columns, std::vector<Variant>* cells) {
    database_->StartCommand();
    RunStatements(sql, columns, cells);
  }

  // Runs every statement of the text; the rows of the first one that has
  // columns go into the result when one is asked for.
  void RunStatements(const std::string& sql, std::vector<std::string>* columns,
                     std::vector<Variant>* cells) {
    const char* text = sql.c_str();
    bool collected = false;
    while (*text) {
      StatementHandle statement = database_->Compile(text);
      if (!statement) continue;  // blanks or a comment
      sqlite3_stmt* raw = statement.get();
      const int count = sqlite3_column_count(raw);
      const bool collect = columns && !collected && count > 0;
      if (collect) {
        for (int i = 0; i < count; ++i) columns->emplace_back(sqlite3_column_name(raw, i));
        collected = true;
      }
      RunToEnd(*database_, raw, collect ? cells : nullptr);
    }
  }

  std::shared_ptr<SqliteDatabase> database_;
};

}  // namespace

std::unique_ptr<Connection> OpenSqliteConnection(const std::string& path, Timeouts timeouts) {
  return std::make_unique<SqliteConnection>(path, timeouts);
}

}  // namespace velmora
