#pragma once

#include <string>
#include <string_view>

#include "platform/db/database_session.h"
#include "platform/errors.h"

namespace velmora {

// The session's sample table, which a count run leaves behind on either road:
// the samples it kept, each with the code of its cell and its survey event.
// Every run drops the table and makes it anew, in the dialect of the session.
// The SQL Server texts are those the host's server has always been sent; on
// SQLite the table lives in the temp schema.
std::string DropSampleTableSql(SqlDialect dialect);
std::string CreateSampleTableSql(SqlDialect dialect);

// The table's key refuses a sample without a key and a key that two samples
// share; either road then fails with these errors, which name the host's
// table, where the table's own would name the session's.
DatabaseError SampleWithoutKeyError();
DatabaseError SampleKeyTwiceError(std::string_view key);

}  // namespace velmora
