#pragma once

#include <memory>

#include "host_interfaces/recorder2000_tlb.h"
#include "platform/com/com_ptr.h"
#include "platform/db/database_session.h"
#include "wizard/database_connector.h"

namespace velmora {

// The dialog's connection to the host's database: the host's settings object,
// which gives the connection string and receives the opened connection, and
// the session that every statement of the dialog runs on. The host's object is
// released when this goes.
class HostDatabase final : public DatabaseConnector {
 public:
  HostDatabase() = default;
  HostDatabase(const HostDatabase&) = delete;
  HostDatabase& operator=(const HostDatabase&) = delete;

  // Asks the host for its connection string, opens the session with it and
  // hands the opened connection to the host. A failed COM call raises ComError;
  // a connection the database refuses is reported as "Error while connecting"
  // and ends in SilentAbort.
  void OpenDatabaseSession() override;
  // Closes and frees the session; nothing when there is none.
  void CloseDatabaseSession() noexcept override;

  bool HasSession() const { return session_ != nullptr; }
  // The session between OpenDatabaseSession and CloseDatabaseSession.
  DatabaseSession& Session() const override;

 private:
  com::ComPtr<IRecorder2000> hostSettings_;
  std::shared_ptr<DatabaseSession> session_;
};

}  // namespace velmora
