#pragma once

#include "count/host_schema.h"
#include "platform/db/database_session.h"

namespace velmora {

// Whether the streamed road counts the host's database as the statements
// would. It matches keys by their bytes, finds samples and occurrences in the
// byte order of their keys, and reads the determinations by ranges of their
// keys. So it needs no compared key stored as a number, every compared key
// compared by its bytes (no collation such as NOCASE), no determination
// without a key, and no occurrence key twice (a unique index on it). The
// host's databases meet all of that; any other is counted by the statements,
// more slowly but alike. (A column of BLOBs, which CheckHostDatabase lets
// pass, sorts and compares by its bytes as texts do.)
bool Streamable(DatabaseSession& session, StreamingAccess& streaming, const HostKeys& keys);

}  // namespace velmora
