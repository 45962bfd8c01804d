#pragma once

#include <string>

#include "platform/db/database_session.h"

namespace velmora {

// The session's sample table, which a count run leaves behind on either road:
// the samples it kept, each with the code of its cell and its survey event.
// Every run drops the table and makes it anew, in the dialect of the session.
// The SQL Server texts are those the host's server has always been sent; on
// SQLite the table lives in the temp schema.
std::string DropSampleTableSql(SqlDialect dialect);
std::string CreateSampleTableSql(SqlDialect dialect);

}  // namespace velmora
