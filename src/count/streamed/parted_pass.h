#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/db/database_session.h"
#include "platform/db/streaming.h"
#include "platform/progress.h"

namespace velmora {

// A table read in the order of its key. The tables are named as the
// statements name them, so that a database without one fails with the same
// message.
struct KeyedTable {
  std::string_view table;
  std::string_view key;
};

// A pass over a host table is read in this many parts of its keys: more parts
// than connections, so that a connection whose core is also busy with other
// work reads fewer of them and the other one more.
constexpr int kPassParts = 16;
// The workers that read the parts: 0 on the calling thread and the session's
// connection, 1 beside it on the reader beside the session.
constexpr int kPassWorkers = 2;

// One pass: `sql` makes the statement of a part from its condition on the key
// (" AND key COLLATE BINARY >= 'a' AND key COLLATE BINARY < 'b'"), whose rows
// come in the order of the key, which the statement gives in column
// `keyColumn`, for the bar. `read(worker, part, row)` takes each row on the
// worker's thread; a worker reads its parts in ascending order. `done(worker)`
// ends each worker there.
struct PartedPass {
  KeyedTable table;
  std::function<std::string(const std::string&)> sql;
  int keyColumn = 0;
  std::function<void(int, int, const StreamedRow&)> read;
  std::function<void(int)> done;
};

// Reads the pass's parts on both workers, each taking the next part when it is
// done with one, while the bar goes from `from` to `to`: worker 0 through
// `streaming`, the session's own reads, worker 1 through `beside` on another
// thread. An error of either worker stops both and passes out here.
void ReadInParts(DatabaseSession& session, StreamingAccess& streaming, RowReader& beside,
                 const PartedPass& pass, ProgressSink& progress, int from, int to);

}  // namespace velmora
