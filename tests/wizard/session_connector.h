#pragma once

#include <string>
#include <utility>

#include "platform/db/database_session.h"
#include "wizard/database_connector.h"

namespace velmora::testing {

// The dialog's way to a database of the test's own, which stands in for the
// host's: opened with the given connection string, closed when the dialog goes.
class SessionConnector final : public DatabaseConnector {
 public:
  explicit SessionConnector(std::string connectionString)
      : connectionString_(std::move(connectionString)) {}

  void OpenDatabaseSession() override { session_.Open(connectionString_); }
  void CloseDatabaseSession() noexcept override { session_.Close(); }
  DatabaseSession& Session() const override { return session_; }

 private:
  std::string connectionString_;
  mutable DatabaseSession session_;
};

}  // namespace velmora::testing
