#pragma once

#include <memory>
#include <string>

#include "platform/db/connection.h"
#include "platform/db/prepared_statement.h"
#include "platform/db/query_result.h"
#include "platform/db/variant.h"

namespace velmora {

// The one connection of a dialog to the host's database. The connection string
// picks the backend: "Provider=SQLite;Data Source=PATH" opens the SQLite
// database at PATH in-process; any other text goes unchanged to the ODBC driver
// manager. Opened once and closed once; temporary tables live exactly as long
// as the session. Errors are DatabaseError with the provider's message, and the
// session stays usable after them.
class DatabaseSession {
 public:
  DatabaseSession() = default;
  ~DatabaseSession();
  DatabaseSession(const DatabaseSession&) = delete;
  DatabaseSession& operator=(const DatabaseSession&) = delete;

  // Time limit for opening the connection (and, on SQLite, for waiting on a
  // locked database).
  void SetConnectionTimeout(int seconds);
  // Time limit for each later statement; 30 seconds until changed, 0 for none.
  void SetCommandTimeout(int seconds);

  void Open(const std::string& connectionString);
  void Close();
  bool IsOpen() const { return connection_ != nullptr; }
  SqlDialect Dialect() const;

  // Runs a statement that returns no rows; the number of rows it affected.
  long long ExecuteNoRecords(const std::string& sql);
  // Runs a statement and returns its rows; a statement without rows gives an
  // empty result.
  std::unique_ptr<QueryResult> OpenQuery(const std::string& sql);
  // A statement with '?' placeholders for text parameters. A statement prepared
  // before Close keeps the connection until the statement is destroyed.
  std::unique_ptr<PreparedStatement> Prepare(const std::string& sql);
  // Results row by row and rows with typed values, where the backend offers
  // them (the embedded one); nothing elsewhere. Valid while the session is open.
  StreamingAccess* Streaming();

 private:
  Connection& Opened() const;

  Timeouts timeouts_{15, 30};
  std::unique_ptr<Connection> connection_;
};

}  // namespace velmora
