#include "count/statements/count_sql.h"

#include <algorithm>
#include <string>
#include <vector>

#include "count/grid_references.h"

namespace velmora {
namespace {

// Fills the "%s" placeholders of a statement in order.
std::string Fill(std::string_view format, std::initializer_list<std::string_view> values) {
  std::string text;
  auto value = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' &&
        value != values.end()) {
      text += *value++;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

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

std::string QuoteSqlText(std::string_view key) {
  std::string quoted = "'";
  for (char c : key) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  quoted += '\'';
  return quoted;
}

// OBJECT_ID looks only at this session's temporary table; a name pattern over
// tempdb would also find, and then fail to drop, another session's table.
std::string CountSql::DropSampleGrid() const {
  return SqlServer() ? "IF OBJECT_ID('tempdb..#sample_grid') IS NOT NULL DROP TABLE #sample_grid"
                     : "DROP TABLE IF EXISTS temp.sample_grid";
}

std::string CountSql::CreateSampleGrid() const {
  return SqlServer()
             ? "CREATE TABLE #sample_grid (grid VARCHAR(9) COLLATE Database_Default, gridtype "
               "VARCHAR(3) COLLATE Database_Default, sample_key CHAR(16) COLLATE Database_Default "
               "PRIMARY KEY , SURVEY_EVENT_KEY CHAR(16) COLLATE Database_Default , SPATIAL_REF "
               "VARCHAR(40) COLLATE Database_Default, SPATIAL_REF_SYSTEM VARCHAR(4) COLLATE "
               "Database_Default, LAT float, Long float)"
             : "CREATE TEMP TABLE sample_grid (grid VARCHAR(9), gridtype VARCHAR(3), sample_key "
               "CHAR(16) PRIMARY KEY, SURVEY_EVENT_KEY CHAR(16), SPATIAL_REF VARCHAR(40), "
               "SPATIAL_REF_SYSTEM VARCHAR(4), LAT float, Long float) WITHOUT ROWID";
}

// A sample without a start or an end date meets no limit on it: NULL compares
// as unknown.
std::string YearLimitsSql(const YearRange& years) {
  std::string text;
  if (years.from) text += " AND VAGUE_DATE_START >= " + std::to_string(FirstDayOfYear(*years.from));
  if (years.to) text += " AND VAGUE_DATE_END <= " + std::to_string(LastDayOfYear(*years.to));
  return text;
}

std::string CountSql::CopySamples(const YearRange& years) const {
  return Fill(
             "INSERT INTO %s (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, "
             "LONG) SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, "
             "LONG "
             "FROM SAMPLE WHERE LAT IS NOT NULL",
             {SqlServer() ? "#sample_grid" : "sample_grid"}) +
         YearLimitsSql(years);
}

// NOT IN alone leaves out a sample without a system, since NULL compares as
// unknown; its coordinates are all there is to place it by.
std::string CountSql::SamplesToConvert() const {
  return Fill(
      "SELECT SAMPLE_KEY, LAT, LONG FROM %s WHERE SPATIAL_REF_SYSTEM NOT IN ('QQQ','QYX') OR "
      "SPATIAL_REF_SYSTEM IS NULL",
      {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::UpdateSampleCell() const {
  return Fill("UPDATE %s SET grid=?, gridtype=? WHERE SAMPLE_KEY=?",
              {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::TakeOverGridReferences(const GridTypeInfo& gridType) const {
  const std::vector<const GridSystemInfo*> systems = SystemsOffering(gridType);
  return Fill(
      SqlServer() ? "UPDATE #sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND %s"
                  : "UPDATE sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND %s",
      {SystemCondition(systems),
       ReferenceCondition(systems, SqlServer() ? "COLLATE Latin1_General_BIN LIKE" : "GLOB")});
}

std::string CountSql::DeleteEmptyCodes() const {
  return Fill("DELETE FROM %s WHERE GRID = '' ", {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::DeleteMissingCodes() const {
  return Fill("DELETE FROM %s WHERE GRID IS NULL ", {SqlServer() ? "#sample_grid" : "sample_grid"});
}

// The sheet is the code up to its first "/"; the "/" appended inside the search
// makes a bare sheet number its own sheet instead of a negative length.
std::string CountSql::DeleteOutsideSheets(std::string_view sheetList) const {
  const char* table = SqlServer() ? "#sample_grid" : "sample_grid";
  if (sheetList == "()") return Fill("DELETE FROM %s", {table});
  return Fill(SqlServer()
                  ? "DELETE FROM #sample_grid WHERE LEFT(GRID, CHARINDEX('/',GRID + '/')-1) "
                    "NOT IN %s"
                  : "DELETE FROM sample_grid WHERE substr(GRID, 1, instr(GRID || '/', "
                    "'/')-1) NOT IN %s",
              {sheetList});
}

std::string CountSql::DropInterim() const {
  return SqlServer() ? Fill("IF OBJECT_ID('TempDB..#%s') IS NOT NULL DROP TABLE #%s",
                            {"interim", "interim"})
                     : "DROP TABLE IF EXISTS temp.interim";
}

std::string CountSql::SelectInterim(const GridTypeInfo& gridType, std::string_view taxonGroupList,
                                    std::string_view surveyList, bool occurrences) const {
  const std::string westLength = std::to_string(gridType.codeLength + 1);
  const std::string length = std::to_string(gridType.codeLength);
  constexpr std::string_view kJoins =
      " FROM SURVEY_EVENT se INNER JOIN %s s ON se.SURVEY_EVENT_KEY = s.SURVEY_EVENT_KEY INNER "
      "JOIN "
      "taxon_occurrence toc ON toc.sample_key = s.sample_key INNER JOIN taxon_determination td ON "
      "toc.taxon_occurrence_key = td.taxon_occurrence_key LEFT JOIN INDEX_TAXON_NAME itn ON "
      "itn.TAXON_LIST_ITEM_KEY = td.taxon_list_item_key LEFT JOIN TAXON_LIST_ITEM TLI ON "
      "itn.TAXON_LIST_ITEM_KEY = TLI.TAXON_LIST_ITEM_KEY LEFT JOIN TAXON_VERSION TV ON "
      "TV.TAXON_VERSION_KEY = TLI.TAXON_VERSION_KEY WHERE td.preferred = 1 AND TOC.CONFIDENTIAL=0 "
      "AND TOC.ZERO_ABUNDANCE=0 AND TOC.CHECKED=1 AND %sOUTPUT_GROUP_KEY IN %s AND %sSURVEY_KEY IN "
      "%s";
  const std::string_view occurrenceKey = occurrences ? "toc.taxon_occurrence_key, " : "";
  if (SqlServer()) {
    return Fill(
        "SELECT itn.recommended_taxon_list_item_key, %sCASE WHEN left(grid,1)='W' THEN "
        "left(grid, %s) ELSE left(grid, %s) END as grid INTO #interim" +
            std::string(kJoins),
        {occurrenceKey, westLength, length, "#sample_grid", "", taxonGroupList, "", surveyList});
  }
  // The unary plus keeps SQLite from probing the survey event index and the
  // output group index once per listed key for every record: it looks each
  // record's row up by its key and tests the lists afterwards.
  return Fill(
      "CREATE TEMP TABLE interim AS SELECT itn.recommended_taxon_list_item_key, %sCASE WHEN "
      "substr(grid,1,1)='W' THEN substr(grid, 1, %s) ELSE substr(grid, 1, %s) END as grid" +
          std::string(kJoins),
      {occurrenceKey, westLength, length, "sample_grid", "+", taxonGroupList, "+", surveyList});
}

// Only codes of the grid type's full length count: shorter ones were shorter
// than the cut before it.
std::string CountSql::FullLengthCodes(const GridTypeInfo& gridType) const {
  const std::string westLength = std::to_string(gridType.codeLength + 1);
  const std::string length = std::to_string(gridType.codeLength);
  return Fill(SqlServer() ? "(LEFT(grid,1)='W' AND LEN(grid) = %s) OR (LEFT(grid,1)<>'W' AND "
                            "LEN(grid) = %s)"
                          : "(substr(grid,1,1)='W' AND length(grid) = %s) OR "
                            "(substr(grid,1,1)<>'W' AND length(grid) = %s)",
              {westLength, length});
}

// One row per cell with its number of distinct taxa. SQLite groups the rows by
// cell and taxon and then counts the groups of each cell, which sorts far less
// than the window form; a missing recommended taxon counts as one taxon in both.
std::string CountSql::CountPerCell(const GridTypeInfo& gridType) const {
  return Fill(SqlServer() ? "SELECT distinct grid, COUNT(*) OVER(PARTITION BY grid) AS 'Anzahl' "
                            "FROM #interim WHERE %s GROUP BY recommended_taxon_list_item_key, "
                            "grid ORDER BY grid"
                          : "SELECT grid, COUNT(*) AS Anzahl FROM (SELECT grid FROM interim WHERE "
                            "%s GROUP BY grid, recommended_taxon_list_item_key) GROUP BY grid "
                            "ORDER BY grid",
              {FullLengthCodes(gridType)});
}

// An occurrence with two preferred determinations is still one record.
std::string CountSql::RecordsPerCell(const GridTypeInfo& gridType) const {
  return Fill(
      "SELECT grid, COUNT(DISTINCT taxon_occurrence_key) AS Anzahl FROM %s WHERE %s GROUP "
      "BY grid ORDER BY grid",
      {SqlServer() ? "#interim" : "interim", FullLengthCodes(gridType)});
}

}  // namespace velmora
