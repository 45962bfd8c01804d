#pragma once

#include <memory>
#include <string>

#include "host_interfaces/database_connection.h"
#include "platform/db/database_session.h"

namespace velmora {

// The COM object that shows the dialog's session to the host. It does not keep
// the session alive: the dialog owns it, and once the dialog has freed it the
// object reports itself closed. The caller holds the one reference.
IDatabaseConnection* NewDatabaseConnectionObject(std::weak_ptr<DatabaseSession> session,
                                                 std::string connectionString);

}  // namespace velmora
