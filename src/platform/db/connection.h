#pragma once

#include <memory>
#include <string>

#include "platform/db/prepared_statement.h"
#include "platform/db/query_result.h"
#include "platform/db/streaming.h"

namespace velmora {

enum class SqlDialect { SqlServer, SQLite };

// One open connection of a backend. Every failure is a DatabaseError with the
// provider's message; the connection stays usable after it.
class Connection {
 public:
  virtual ~Connection() = default;

  virtual SqlDialect Dialect() const = 0;
  // Seconds each later statement may run; 0 means no limit.
  virtual void SetCommandTimeout(int seconds) = 0;
  virtual void SetConnectionTimeout(int seconds) = 0;
  virtual long long Execute(const std::string& sql) = 0;
  virtual std::unique_ptr<QueryResult> Query(const std::string& sql) = 0;
  virtual std::unique_ptr<PreparedStatement> Prepare(const std::string& sql) = 0;
  // Nothing where the backend reads results only whole.
  virtual StreamingAccess* Streaming() { return nullptr; }
};

struct Timeouts {
  int connectionSeconds;
  int commandSeconds;
};

// The provider's message of a statement that the command time-out stopped.
std::string TimedOutMessage(const std::string& providerMessage, int seconds);

std::unique_ptr<Connection> OpenSqliteConnection(const std::string& path, Timeouts timeouts);
std::unique_ptr<Connection> OpenOdbcConnection(const std::string& connectionString,
                                               Timeouts timeouts);

}  // namespace velmora
