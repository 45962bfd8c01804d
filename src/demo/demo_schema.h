#pragma once

namespace velmora {
class DatabaseSession;
}

namespace velmora::demo {

// The host's tables as far as the count and the selection lists read them,
// with the host's names, types and primary keys.
void CreateDemoTables(DatabaseSession& session);

// The indexes on the foreign keys that the count's joins follow; made after the
// rows are in, which is much faster than keeping them up to date row by row.
void CreateDemoIndexes(DatabaseSession& session);

}  // namespace velmora::demo
