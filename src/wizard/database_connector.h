#pragma once

#include "platform/db/database_session.h"

namespace velmora {

// How a dialog reaches its database. Whoever creates the dialog hands one over:
// the add-in one that asks the running host for its connection, a try-out
// program or a test one of its own. The dialog owns it: it opens the session
// once while it starts and closes it first when it goes.
class DatabaseConnector {
 public:
  virtual ~DatabaseConnector() = default;

  // Raises when the session cannot be opened; SilentAbort when the user has
  // already been told why.
  virtual void OpenDatabaseSession() = 0;
  // Closes and frees the session; nothing when there is none.
  virtual void CloseDatabaseSession() noexcept = 0;
  // The session between OpenDatabaseSession and CloseDatabaseSession.
  virtual DatabaseSession& Session() const = 0;
};

}  // namespace velmora
