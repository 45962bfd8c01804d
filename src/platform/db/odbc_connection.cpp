// The ODBC backend: the connection string goes unchanged to the unixODBC driver
// manager; the time-outs are the login and query time-out attributes.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "platform/db/connection.h"
#include "platform/db/odbc_handle.h"
#include "platform/db/odbc_watchdog.h"
#include "platform/errors.h"

namespace velmora {

namespace {

SQLCHAR* Text(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

SQLPOINTER Number(int value) {
  return reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max(value, 0)));
}

// The environment and the connection, shared by the connection object and the
// statements it prepared, so that a statement never outlives its connection.
class OdbcDatabase {
 public:
  OdbcDatabase(const std::string& connectionString, Timeouts timeouts)
      : environment_(SQL_HANDLE_ENV, SQL_NULL_HANDLE),
        connection_(SQL_HANDLE_DBC, (SetOdbcVersion(environment_), environment_.Get())),
        commandSeconds_(timeouts.commandSeconds) {
    connection_.Check(SQLSetConnectAttr(connection_.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                                        Number(timeouts.connectionSeconds), 0));
    SQLSMALLINT length = 0;
    connection_.Check(SQLDriverConnect(connection_.Get(), nullptr, Text(connectionString), SQL_NTS,
                                       nullptr, 0, &length, SQL_DRIVER_NOPROMPT));
    connected_ = true;
  }

  ~OdbcDatabase() {
    if (connected_) SQLDisconnect(connection_.Get());
  }

  const OdbcHandle& Connection() const { return connection_; }

  // A new statement handle carrying the current query time-out.
  std::unique_ptr<OdbcHandle> NewStatement() const {
    auto statement = std::make_unique<OdbcHandle>(SQL_HANDLE_STMT, connection_.Get());
    statement->Check(
        SQLSetStmtAttr(statement->Get(), SQL_ATTR_QUERY_TIMEOUT, Number(commandSeconds_), 0));
    return statement;
  }

  void SetCommandTimeout(int seconds) { commandSeconds_ = seconds; }
  int CommandSeconds() const { return commandSeconds_; }

  std::string DbmsName() const {
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    connection_.Check(SQLGetInfo(connection_.Get(), SQL_DBMS_NAME, name, sizeof name, &length));
    return reinterpret_cast<const char*>(name);
  }

  void SetAutocommit(bool on) const {
    connection_.Check(SQLSetConnectAttr(
        connection_.Get(), SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0));
  }

  void EndTransaction(SQLSMALLINT completion) const {
    connection_.Check(SQLEndTran(SQL_HANDLE_DBC, connection_.Get(), completion));
  }

 private:
  static void SetOdbcVersion(const OdbcHandle& environment) {
    environment.Check(SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
  }

  OdbcHandle environment_;
  OdbcHandle connection_;
  int commandSeconds_;
  bool connected_ = false;
};

// Runs `work` on `statement` under the command time-out.
template <typename Work>
auto Timed(const OdbcDatabase& database, const OdbcHandle& statement, Work work) {
  const int seconds = database.CommandSeconds();
  OdbcWatchdog watchdog(statement.Get(), seconds);
  try {
    return work();
  } catch (const DatabaseError& e) {
    if (watchdog.Fired()) throw DatabaseError(TimedOutMessage(e.what(), seconds));
    throw;
  }
}

// Rows affected by the current result of a statement; 0 when the driver does not know.
long long RowCount(const OdbcHandle& statement) {
  SQLLEN count = 0;
  statement.Check(SQLRowCount(statement.Get(), &count));
  return std::max<SQLLEN>(count, 0);
}

// SQL_NO_DATA from an execution means the statement affected no rows.
bool Executed(const OdbcHandle& statement, SQLRETURN rc) {
  if (rc == SQL_NO_DATA) return false;
  statement.Check(rc);
  return true;
}

bool MoreResults(const OdbcHandle& statement) {
  const SQLRETURN rc = SQLMoreResults(statement.Get());
  if (rc == SQL_NO_DATA) return false;
  statement.Check(rc);
  return true;
}

enum class ColumnKind { Integer, Float, Text };

ColumnKind KindOf(SQLSMALLINT type) {
  switch (type) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return ColumnKind::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return ColumnKind::Float;
    default:
      return ColumnKind::Text;
  }
}

template <typename Number>
Variant FetchNumber(const OdbcHandle& statement, SQLUSMALLINT column, SQLSMALLINT cType) {
  Number value{};
  SQLLEN indicator = 0;
  statement.Check(SQLGetData(statement.Get(), column, cType, &value, sizeof value, &indicator));
  if (indicator == SQL_NULL_DATA) return std::monostate{};
  return value;
}

// Reads a text field in pieces, since its length is not known beforehand.
Variant FetchText(const OdbcHandle& statement, SQLUSMALLINT column) {
  std::string text;
  char buffer[1024];
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc =
        SQLGetData(statement.Get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    if (rc == SQL_NO_DATA) break;
    statement.Check(rc);
    if (indicator == SQL_NULL_DATA) return std::monostate{};
    const bool truncated = indicator == SQL_NO_TOTAL || indicator >= SQLLEN{sizeof buffer};
    text.append(buffer, truncated ? sizeof buffer - 1 : static_cast<std::size_t>(indicator));
    if (rc == SQL_SUCCESS || !truncated) break;
  }
  return text;
}

std::unique_ptr<QueryResult> ReadResult(const OdbcHandle& statement, SQLSMALLINT columnCount) {
  std::vector<std::string> columns;
  std::vector<ColumnKind> kinds;
  for (SQLUSMALLINT column = 1; column <= columnCount; ++column) {
    SQLCHAR name[256] = {};
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    statement.Check(SQLDescribeCol(statement.Get(), column, name, sizeof name, &nameLength, &type,
                                   &size, &digits, &nullable));
    columns.emplace_back(reinterpret_cast<const char*>(name));
    kinds.push_back(KindOf(type));
  }
  std::vector<Variant> cells;
  for (;;) {
    const SQLRETURN rc = SQLFetch(statement.Get());
    if (rc == SQL_NO_DATA) break;
    statement.Check(rc);
    for (SQLUSMALLINT column = 1; column <= columnCount; ++column) {
      switch (kinds[column - 1]) {
        case ColumnKind::Integer:
          cells.push_back(FetchNumber<long long>(statement, column, SQL_C_SBIGINT));
          break;
        case ColumnKind::Float:
          cells.push_back(FetchNumber<double>(statement, column, SQL_C_DOUBLE));
          break;
        case ColumnKind::Text:
          cells.push_back(FetchText(statement, column));
          break;
      }
    }
  }
  return std::make_unique<QueryResult>(std::move(columns), std::move(cells));
}

// Rows go to the driver as parameter arrays, many per execution, where the
// driver takes them (SQL_ATTR_PARAMSET_SIZE); one at a time where it does not.
class OdbcPreparedStatement : public PreparedStatement {
 public:
  OdbcPreparedStatement(std::shared_ptr<OdbcDatabase> database, const std::string& sql)
      : database_(std::move(database)), statement_(database_->NewStatement()) {
    statement_->Check(SQLPrepare(statement_->Get(), Text(sql), SQL_NTS));
    SQLSMALLINT count = 0;
    statement_->Check(SQLNumParams(statement_->Get(), &count));
    parameterCount_ = count;
    const SQLHSTMT handle = statement_->Get();
    if (SQL_SUCCEEDED(SQLSetStmtAttr(handle, SQL_ATTR_PARAM_BIND_TYPE,
                                     reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0)) &&
        SQL_SUCCEEDED(SQLSetStmtAttr(handle, SQL_ATTR_PARAMSET_SIZE, Number(kArrayRows), 0))) {
      SQLULEN accepted = 1;
      SQLGetStmtAttr(handle, SQL_ATTR_PARAMSET_SIZE, &accepted, 0, nullptr);
      arrayRows_ = std::clamp<SQLULEN>(accepted, 1, kArrayRows);
    }
    if (arrayRows_ > 1) {
      statement_->Check(SQLSetStmtAttr(handle, SQL_ATTR_PARAM_STATUS_PTR, statuses_.data(), 0));
    }
  }

  long long ExecuteBatch(std::span<const std::vector<std::string>> rows) override {
    if (rows.empty()) return 0;
    for (const auto& row : rows) {
      if (static_cast<int>(row.size()) != parameterCount_) {
        throw DatabaseError("The statement takes " + std::to_string(parameterCount_) +
                            " parameters, but a row gives " + std::to_string(row.size()));
      }
    }
    database_->SetAutocommit(false);
    long long affected = 0;
    try {
      Timed(*database_, *statement_, [&] {
        for (std::size_t first = 0; first < rows.size(); first += arrayRows_) {
          affected += ExecuteArray(rows.subspan(first, std::min(arrayRows_, rows.size() - first)));
        }
      });
      database_->EndTransaction(SQL_COMMIT);
    } catch (...) {
      SQLEndTran(SQL_HANDLE_DBC, database_->Connection().Get(), SQL_ROLLBACK);
      database_->SetAutocommit(true);
      throw;
    }
    database_->SetAutocommit(true);
    return affected;
  }

 private:
  static constexpr int kArrayRows = 1000;

  // Binds the rows column by column, each column's texts in cells as wide as
  // its longest text, and executes the statement once for all of them.
  long long ExecuteArray(std::span<const std::vector<std::string>> rows) {
    const SQLHSTMT handle = statement_->Get();
    const std::size_t count = rows.size();
    if (arrayRows_ > 1) {
      statement_->Check(SQLSetStmtAttr(handle, SQL_ATTR_PARAMSET_SIZE, Number(count), 0));
    }
    buffers_.resize(parameterCount_);
    lengths_.resize(parameterCount_);
    for (int p = 0; p < parameterCount_; ++p) {
      std::size_t width = 1;
      for (const auto& row : rows) width = std::max(width, row[p].size() + 1);
      buffers_[p].assign(count * width, '\0');
      lengths_[p].resize(count);
      for (std::size_t r = 0; r < count; ++r) {
        std::memcpy(buffers_[p].data() + r * width, rows[r][p].data(), rows[r][p].size());
        lengths_[p][r] = static_cast<SQLLEN>(rows[r][p].size());
      }
      statement_->Check(SQLBindParameter(handle, static_cast<SQLUSMALLINT>(p + 1), SQL_PARAM_INPUT,
                                         SQL_C_CHAR, SQL_VARCHAR, std::max<SQLULEN>(width - 1, 1),
                                         0, buffers_[p].data(), static_cast<SQLLEN>(width),
                                         lengths_[p].data()));
    }
    std::fill(statuses_.begin(), statuses_.end(), SQL_PARAM_UNUSED);
    const SQLRETURN rc = SQLExecute(handle);
    // A failed row may leave the execution as a whole successful; its message
    // is read before the next call on the handle clears it.
    if (rc == SQL_ERROR || std::ranges::find(statuses_, SQL_PARAM_ERROR) != statuses_.end()) {
      std::string message = OdbcDiagnostics(SQL_HANDLE_STMT, handle);
      SQLFreeStmt(handle, SQL_CLOSE);
      throw DatabaseError(message.empty() ? "A row of the batch failed" : message);
    }
    long long affected = 0;
    if (Executed(*statement_, rc)) {
      // One count for the whole array, or one per row in further results.
      do {
        affected += RowCount(*statement_);
      } while (MoreResults(*statement_));
    }
    SQLFreeStmt(handle, SQL_CLOSE);
    return affected;
  }

  std::shared_ptr<OdbcDatabase> database_;
  std::unique_ptr<OdbcHandle> statement_;
  int parameterCount_ = 0;
  std::size_t arrayRows_ = 1;
  std::vector<std::vector<char>> buffers_;
  std::vector<std::vector<SQLLEN>> lengths_;
  std::array<SQLUSMALLINT, kArrayRows> statuses_{};
};

class OdbcConnection : public Connection {
 public:
  OdbcConnection(const std::string& connectionString, Timeouts timeouts)
      : database_(std::make_shared<OdbcDatabase>(connectionString, timeouts)) {
    std::string name = database_->DbmsName();
    std::ranges::transform(name, name.begin(), [](unsigned char c) { return std::tolower(c); });
    dialect_ =
        name.find("sqlite") != std::string::npos ? SqlDialect::SQLite : SqlDialect::SqlServer;
  }

  SqlDialect Dialect() const override { return dialect_; }
  void SetCommandTimeout(int seconds) override { database_->SetCommandTimeout(seconds); }
  // The connection time-out only limits opening; an open connection keeps it.
  void SetConnectionTimeout(int) override {}

  long long Execute(const std::string& sql) override {
    const auto statement = database_->NewStatement();
    return Timed(*database_, *statement, [&] {
      long long affected = 0;
      if (!Executed(*statement, SQLExecDirect(statement->Get(), Text(sql), SQL_NTS)))
        return affected;
      do {
        affected += RowCount(*statement);
      } while (MoreResults(*statement));
      return affected;
    });
  }

  std::unique_ptr<QueryResult> Query(const std::string& sql) override {
    const auto statement = database_->NewStatement();
    return Timed(*database_, *statement, [&] {
      if (Executed(*statement, SQLExecDirect(statement->Get(), Text(sql), SQL_NTS))) {
        // A batch may report row counts before its first result set.
        do {
          SQLSMALLINT columns = 0;
          statement->Check(SQLNumResultCols(statement->Get(), &columns));
          if (columns > 0) return ReadResult(*statement, columns);
        } while (MoreResults(*statement));
      }
      return std::make_unique<QueryResult>(std::vector<std::string>{}, std::vector<Variant>{});
    });
  }

  std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) override {
    return std::make_unique<OdbcPreparedStatement>(database_, sql);
  }

 private:
  std::shared_ptr<OdbcDatabase> database_;
  SqlDialect dialect_;
};

}  // namespace

std::unique_ptr<Connection> OpenOdbcConnection(const std::string& connectionString,
                                               Timeouts timeouts) {
  return std::make_unique<OdbcConnection>(connectionString, timeouts);
}

}  // namespace velmora
