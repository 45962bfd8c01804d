#include "count/sample_table.h"

#include "count/sql_text.h"

namespace velmora {

// OBJECT_ID looks only at this session's temporary table; a name pattern over
// tempdb would also find, and then fail to drop, another session's table.
std::string DropSampleTableSql(SqlDialect dialect) {
  return dialect == SqlDialect::SqlServer
             ? "IF OBJECT_ID('tempdb..#sample_grid') IS NOT NULL DROP TABLE #sample_grid"
             : "DROP TABLE IF EXISTS temp.sample_grid";
}

std::string CreateSampleTableSql(SqlDialect dialect) {
  return dialect == SqlDialect::SqlServer
             ? "CREATE TABLE #sample_grid (grid VARCHAR(9) COLLATE Database_Default, gridtype "
               "VARCHAR(3) COLLATE Database_Default, sample_key CHAR(16) COLLATE Database_Default "
               "PRIMARY KEY , SURVEY_EVENT_KEY CHAR(16) COLLATE Database_Default , SPATIAL_REF "
               "VARCHAR(40) COLLATE Database_Default, SPATIAL_REF_SYSTEM VARCHAR(4) COLLATE "
               "Database_Default, LAT float, Long float)"
             : "CREATE TEMP TABLE sample_grid (grid VARCHAR(9), gridtype VARCHAR(3), sample_key "
               "CHAR(16) PRIMARY KEY, SURVEY_EVENT_KEY CHAR(16), SPATIAL_REF VARCHAR(40), "
               "SPATIAL_REF_SYSTEM VARCHAR(4), LAT float, Long float) WITHOUT ROWID";
}

DatabaseError SampleWithoutKeyError() {
  return DatabaseError("The table SAMPLE holds a sample without a SAMPLE_KEY");
}

DatabaseError SampleKeyTwiceError(std::string_view key) {
  return DatabaseError("The table SAMPLE holds the SAMPLE_KEY " + QuoteSqlText(key) + " twice");
}

}  // namespace velmora
