#include "platform/db/database_session.h"

#include <filesystem>
#include <system_error>

#include "platform/db/connection_string.h"
#include "platform/errors.h"

namespace velmora {

DatabaseSession::~DatabaseSession() = default;

void DatabaseSession::SetConnectionTimeout(int seconds) {
  timeouts_.connectionSeconds = seconds;
  if (connection_) connection_->SetConnectionTimeout(seconds);
}

void DatabaseSession::SetCommandTimeout(int seconds) {
  timeouts_.commandSeconds = seconds;
  if (connection_) connection_->SetCommandTimeout(seconds);
}

void DatabaseSession::Open(const std::string& connectionString) {
  if (connection_) throw DatabaseError("The database session is already open");
  if (const auto path = SqliteDataSource(connectionString)) {
    connection_ = OpenSqliteConnection(*path, timeouts_);
    return;
  }
  // The SQLite ODBC driver makes an empty database where its file is missing,
  // which a misspelled path would leave behind.
  if (const auto file = DatabaseFileOf(connectionString)) {
    std::error_code error;
    if (!std::filesystem::exists(*file, error)) {
      throw DatabaseError("There is no database file " + file->string() +
                          (error ? " (" + error.message() + ")" : ""));
    }
  }
  connection_ = OpenOdbcConnection(connectionString, timeouts_);
}

void DatabaseSession::Close() { connection_.reset(); }

Connection& DatabaseSession::Opened() const {
  if (!connection_) throw DatabaseError("The database session is not open");
  return *connection_;
}

SqlDialect DatabaseSession::Dialect() const { return Opened().Dialect(); }

long long DatabaseSession::ExecuteNoRecords(const std::string& sql) {
  return Opened().Execute(sql);
}

std::unique_ptr<QueryResult> DatabaseSession::OpenQuery(const std::string& sql) {
  return Opened().Query(sql);
}

std::unique_ptr<PreparedStatement> DatabaseSession::Prepare(const std::string& sql) {
  return Opened().Prepare(sql);
}

StreamingAccess* DatabaseSession::Streaming() { return Opened().Streaming(); }

}  // namespace velmora
