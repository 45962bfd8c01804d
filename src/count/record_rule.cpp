#include "count/record_rule.h"

#include "count/sql_text.h"

namespace velmora {

namespace {

// A key column as it is compared with a list of chosen keys. On SQLite that is
// the key's text, so that a key stored as a number or a BLOB still equals the
// text it was chosen by, as keys of the server do.
std::string Listed(SqlDialect dialect, std::string_view column) {
  if (dialect == SqlDialect::SqlServer) return std::string(column);
  return "CAST(" + std::string(column) + " AS TEXT)";
}

}  // namespace

// The SQL Server text is the one the host's server has always been sent. On
// SQLite the comparison with the keys' texts also keeps the database from
// probing the survey event index and the output group index once per listed
// key for every record: it looks each record's row up by its key and tests the
// lists afterwards.
std::string QualifyingRecordsSql(SqlDialect dialect, std::string_view taxonGroupList,
                                 std::string_view surveyList) {
  const bool server = dialect == SqlDialect::SqlServer;
  return FillSql(
      " FROM SURVEY_EVENT se INNER JOIN %s s ON se.SURVEY_EVENT_KEY = s.SURVEY_EVENT_KEY INNER "
      "JOIN taxon_occurrence toc ON toc.sample_key = s.sample_key INNER JOIN taxon_determination "
      "td ON toc.taxon_occurrence_key = td.taxon_occurrence_key LEFT JOIN INDEX_TAXON_NAME itn ON "
      "itn.TAXON_LIST_ITEM_KEY = td.taxon_list_item_key LEFT JOIN TAXON_LIST_ITEM TLI ON "
      "itn.TAXON_LIST_ITEM_KEY = TLI.TAXON_LIST_ITEM_KEY LEFT JOIN TAXON_VERSION TV ON "
      "TV.TAXON_VERSION_KEY = TLI.TAXON_VERSION_KEY WHERE td.preferred = 1 AND TOC.CONFIDENTIAL=0 "
      "AND TOC.ZERO_ABUNDANCE=0 AND TOC.CHECKED=1 AND %s IN %s AND %s IN %s",
      {server ? "#sample_grid" : "sample_grid", Listed(dialect, "OUTPUT_GROUP_KEY"), taxonGroupList,
       Listed(dialect, "SURVEY_KEY"), surveyList});
}

// The streamed road reads the same joins and conditions a table at a time: the
// survey events and the taxa of the groups first, then the occurrences and
// their determinations.

std::string CountedEventsSql(std::string_view surveyList) {
  return "SELECT SURVEY_EVENT_KEY FROM SURVEY_EVENT WHERE " +
         Listed(SqlDialect::SQLite, "SURVEY_KEY") + " IN " + std::string(surveyList);
}

// Inner joins where the selection has left ones: an item without an index row,
// a list item or a taxon version has no group, which the selection's condition
// on the group leaves out as well.
std::string TaxaOfGroupsSql(std::string_view taxonGroupList) {
  return "SELECT itn.TAXON_LIST_ITEM_KEY, itn.RECOMMENDED_TAXON_LIST_ITEM_KEY, TV.OUTPUT_GROUP_KEY "
         "FROM "
         "INDEX_TAXON_NAME itn INNER JOIN TAXON_LIST_ITEM TLI ON itn.TAXON_LIST_ITEM_KEY = "
         "TLI.TAXON_LIST_ITEM_KEY INNER JOIN TAXON_VERSION TV ON TV.TAXON_VERSION_KEY = "
         "TLI.TAXON_VERSION_KEY WHERE " +
         Listed(SqlDialect::SQLite, "TV.OUTPUT_GROUP_KEY") + " IN " + std::string(taxonGroupList);
}

std::string CountedOccurrenceCondition() {
  return "CONFIDENTIAL=0 AND ZERO_ABUNDANCE=0 AND CHECKED=1";
}

std::string CountedDeterminationCondition() { return "PREFERRED = 1"; }

// A sample without a start or an end date meets no limit on it: NULL compares
// as unknown.
std::string YearLimitsSql(const YearRange& years) {
  std::string text;
  if (years.from) text += " AND VAGUE_DATE_START >= " + std::to_string(FirstDayOfYear(*years.from));
  if (years.to) text += " AND VAGUE_DATE_END <= " + std::to_string(LastDayOfYear(*years.to));
  return text;
}

}  // namespace velmora
