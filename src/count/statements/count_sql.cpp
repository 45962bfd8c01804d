#include "count/statements/count_sql.h"

#include <algorithm>
#include <string>
#include <vector>

#include "count/grid_references.h"
#include "count/record_rule.h"
#include "count/sql_text.h"

namespace velmora {
namespace {

// The systems offering the grid type, in the order of their codes.
std::vector<const GridSystemInfo*> SystemsOffering(const GridTypeInfo& gridType) {
  std::vector<const GridSystemInfo*> systems;
  for (const GridSystemInfo& system : kGridSystems) {
    if (system.offersGridType[gridType.item]) systems.push_back(&system);
  }
  std::ranges::sort(systems, {}, &GridSystemInfo::code);
  return systems;
}

// The condition on SPATIAL_REF_SYSTEM that picks the systems: "= 'QQQ' " or
// "IN ('QQQ','QYX') ".
std::string SystemCondition(const std::vector<const GridSystemInfo*>& systems) {
  if (systems.size() == 1) return "= " + QuoteSqlText(systems[0]->code) + " ";
  std::string list;
  for (const GridSystemInfo* system : systems) {
    list += (list.empty() ? "" : ",") + QuoteSqlText(system->code);
  }
  return "IN (" + list + ") ";
}

// SPATIAL_REF is one of the system's cell codes. `match` is the pattern
// operator put after the column: a binary LIKE on SQL Server, where the
// database's collation could otherwise let a lower-case "w" or other digits
// through, and GLOB on SQLite.
std::string CellCodeCondition(const GridSystemInfo& system, std::string_view match) {
  std::string condition;
  for (const std::string& pattern : CellCodePatterns(system)) {
    condition += condition.empty() ? "(" : " OR ";
    condition += "SPATIAL_REF ";
    condition += match;
    condition += " '" + pattern + "'";
  }
  return condition + ")";
}

// Only cell codes of the reference's own system are taken over; anything else
// (a sheet number with letters, digits the system does not use, a text too
// long for the grid column) gets no code and is removed with the others.
std::string ReferenceCondition(const std::vector<const GridSystemInfo*>& systems,
                               std::string_view match) {
  if (systems.size() == 1) return CellCodeCondition(*systems[0], match);
  std::string condition;
  for (const GridSystemInfo* system : systems) {
    condition += condition.empty() ? "(" : " OR ";
    condition += "(SPATIAL_REF_SYSTEM = " + QuoteSqlText(system->code) + " AND " +
                 CellCodeCondition(*system, match) + ")";
  }
  return condition + ")";
}

}  // namespace

// An SQLite column may hold a BLOB where the host writes a text or a number;
// the copy takes it as the text of its bytes, as the streamed road reads it,
// so that it is matched and converted as that text would be.
std::string CountSql::CopySamples(const YearRange& years) const {
  if (SqlServer()) {
    return "INSERT INTO #sample_grid (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, "
           "SPATIAL_REF_SYSTEM, LAT, LONG) SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, "
           "SPATIAL_REF_SYSTEM, LAT, LONG FROM SAMPLE WHERE LAT IS NOT NULL" +
           YearLimitsSql(years);
  }
  return "INSERT INTO sample_grid (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, "
         "LAT, LONG) SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, CAST(SPATIAL_REF AS TEXT), "
         "CAST(SPATIAL_REF_SYSTEM AS TEXT), CASE WHEN typeof(LAT) = 'blob' THEN CAST(LAT AS TEXT) "
         "ELSE LAT END, CASE WHEN typeof(LONG) = 'blob' THEN CAST(LONG AS TEXT) ELSE LONG END FROM "
         "SAMPLE WHERE LAT IS NOT NULL" +
         YearLimitsSql(years);
}

// Where the copy fails: the samples that the sample table's key refuses.
std::string CountSql::SamplesWithoutKey(const YearRange& years) const {
  return "SELECT COUNT(*) FROM SAMPLE WHERE SAMPLE_KEY IS NULL AND LAT IS NOT NULL" +
         YearLimitsSql(years);
}

std::string CountSql::SampleKeysTwice(const YearRange& years) const {
  return "SELECT SAMPLE_KEY FROM SAMPLE WHERE LAT IS NOT NULL" + YearLimitsSql(years) +
         " GROUP BY SAMPLE_KEY HAVING COUNT(*) > 1";
}

// NOT IN alone leaves out a sample without a system, since NULL compares as
// unknown; its coordinates are all there is to place it by.
std::string CountSql::SamplesToConvert() const {
  return FillSql(
      "SELECT SAMPLE_KEY, LAT, LONG FROM %s WHERE SPATIAL_REF_SYSTEM NOT IN ('QQQ','QYX') OR "
      "SPATIAL_REF_SYSTEM IS NULL",
      {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::UpdateSampleCell() const {
  return FillSql("UPDATE %s SET grid=?, gridtype=? WHERE SAMPLE_KEY=?",
                 {SqlServer() ? "#sample_grid" : "sample_grid"});
}

// The server's LIKE passes a reference with trailing blanks ('6508/12 '), which
// SQLite's GLOB and the embedded road leave out; the last condition leaves it
// out on the server too, so that the counts do not depend on the backend.
std::string CountSql::TakeOverGridReferences(const GridTypeInfo& gridType) const {
  const std::vector<const GridSystemInfo*> systems = SystemsOffering(gridType);
  return FillSql(
      SqlServer() ? "UPDATE #sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND %s AND SPATIAL_REF NOT "
                    "LIKE '% '"
                  : "UPDATE sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND %s",
      {SystemCondition(systems),
       ReferenceCondition(systems, SqlServer() ? "COLLATE Latin1_General_BIN LIKE" : "GLOB")});
}

std::string CountSql::DeleteEmptyCodes() const {
  return FillSql("DELETE FROM %s WHERE GRID = '' ", {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::DeleteMissingCodes() const {
  return FillSql("DELETE FROM %s WHERE GRID IS NULL ",
                 {SqlServer() ? "#sample_grid" : "sample_grid"});
}

// The sheet is the code up to its first "/"; the "/" appended inside the search
// makes a bare sheet number its own sheet instead of a negative length.
std::string CountSql::DeleteOutsideSheets(std::string_view sheetList) const {
  const char* table = SqlServer() ? "#sample_grid" : "sample_grid";
  if (sheetList == "()") return FillSql("DELETE FROM %s", {table});
  return FillSql(SqlServer()
                     ? "DELETE FROM #sample_grid WHERE LEFT(GRID, CHARINDEX('/',GRID + '/')-1) "
                       "NOT IN %s"
                     : "DELETE FROM sample_grid WHERE substr(GRID, 1, instr(GRID || '/', "
                       "'/')-1) NOT IN %s",
                 {sheetList});
}

std::string CountSql::DropInterim() const {
  return SqlServer() ? FillSql("IF OBJECT_ID('TempDB..#%s') IS NOT NULL DROP TABLE #%s",
                               {"interim", "interim"})
                     : "DROP TABLE IF EXISTS temp.interim";
}

std::string CountSql::SelectInterim(const GridTypeInfo& gridType, std::string_view taxonGroupList,
                                    std::string_view surveyList, bool occurrences) const {
  const std::string westLength = std::to_string(gridType.codeLength + 1);
  const std::string length = std::to_string(gridType.codeLength);
  const std::string_view occurrenceKey = occurrences ? "toc.taxon_occurrence_key, " : "";
  return FillSql(SqlServer() ? "SELECT itn.recommended_taxon_list_item_key, %sCASE WHEN "
                               "left(grid,1)='W' THEN left(grid, %s) ELSE left(grid, %s) END as "
                               "grid INTO #interim"
                             : "CREATE TEMP TABLE interim AS SELECT "
                               "itn.recommended_taxon_list_item_key, %sCASE WHEN "
                               "substr(grid,1,1)='W' THEN substr(grid, 1, %s) ELSE substr(grid, "
                               "1, %s) END as grid",
                 {occurrenceKey, westLength, length}) +
         QualifyingRecordsSql(dialect_, taxonGroupList, surveyList);
}

// Only codes of the grid type's full length count: shorter ones were shorter
// than the cut before it.
std::string CountSql::FullLengthCodes(const GridTypeInfo& gridType) const {
  const std::string westLength = std::to_string(gridType.codeLength + 1);
  const std::string length = std::to_string(gridType.codeLength);
  return FillSql(SqlServer() ? "(LEFT(grid,1)='W' AND LEN(grid) = %s) OR (LEFT(grid,1)<>'W' AND "
                               "LEN(grid) = %s)"
                             : "(substr(grid,1,1)='W' AND length(grid) = %s) OR "
                               "(substr(grid,1,1)<>'W' AND length(grid) = %s)",
                 {westLength, length});
}

// One row per cell with its number of distinct taxa. SQLite groups the rows by
// cell and taxon and then counts the groups of each cell, which sorts far less
// than the window form; a missing recommended taxon counts as one taxon in both.
std::string CountSql::CountPerCell(const GridTypeInfo& gridType) const {
  return FillSql(SqlServer()
                     ? "SELECT distinct grid, COUNT(*) OVER(PARTITION BY grid) AS 'Anzahl' "
                       "FROM #interim WHERE %s GROUP BY recommended_taxon_list_item_key, "
                       "grid ORDER BY grid"
                     : "SELECT grid, COUNT(*) AS Anzahl FROM (SELECT grid FROM interim WHERE "
                       "%s GROUP BY grid, recommended_taxon_list_item_key) GROUP BY grid "
                       "ORDER BY grid",
                 {FullLengthCodes(gridType)});
}

// An occurrence with two preferred determinations is still one record.
std::string CountSql::RecordsPerCell(const GridTypeInfo& gridType) const {
  return FillSql(
      "SELECT grid, COUNT(DISTINCT taxon_occurrence_key) AS Anzahl FROM %s WHERE %s GROUP "
      "BY grid ORDER BY grid",
      {SqlServer() ? "#interim" : "interim", FullLengthCodes(gridType)});
}

std::string CountSql::DistinctTaxa(const GridTypeInfo& gridType) const {
  return FillSql(
      "SELECT COUNT(DISTINCT recommended_taxon_list_item_key) + MAX(CASE WHEN "
      "recommended_taxon_list_item_key IS NULL THEN 1 ELSE 0 END) AS Anzahl FROM %s WHERE %s",
      {SqlServer() ? "#interim" : "interim", FullLengthCodes(gridType)});
}

}  // namespace velmora
