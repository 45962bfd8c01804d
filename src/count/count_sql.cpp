#include "count/count_sql.h"

#include <algorithm>
#include <string>
#include <vector>

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

// The condition on SPATIAL_REF_SYSTEM that picks the systems offering the grid
// type, in the order of their codes: "= 'QQQ' " or "IN ('QQQ','QYX') ".
std::string SystemsOffering(const GridTypeInfo& gridType) {
  std::vector<std::string> codes;
  for (const GridSystemInfo& system : kGridSystems) {
    if (system.offersGridType[gridType.item]) codes.push_back(QuoteSqlText(system.code));
  }
  std::ranges::sort(codes);
  if (codes.size() == 1) return "= " + codes[0] + " ";
  std::string list;
  for (const std::string& code : codes) list += (list.empty() ? "" : ",") + code;
  return "IN (" + list + ") ";
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
               "SPATIAL_REF_SYSTEM VARCHAR(4), LAT float, Long float)";
}

std::string CountSql::CopySamples() const {
  return Fill(
      "INSERT INTO %s (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG) "
      "SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG FROM SAMPLE "
      "WHERE LAT IS NOT NULL",
      {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::SamplesToConvert() const {
  return Fill("SELECT SAMPLE_KEY, LAT, LONG FROM %s WHERE SPATIAL_REF_SYSTEM NOT IN ('QQQ','QYX')",
              {SqlServer() ? "#sample_grid" : "sample_grid"});
}

std::string CountSql::UpdateSampleCell() const {
  return Fill("UPDATE %s SET grid=?, gridtype=? WHERE SAMPLE_KEY=?",
              {SqlServer() ? "#sample_grid" : "sample_grid"});
}

// A reference longer than the grid column cannot be a cell code; it is left
// without a code (and removed with the others) instead of failing the update.
std::string CountSql::TakeOverGridReferences(const GridTypeInfo& gridType) const {
  return Fill(SqlServer()
                  ? "UPDATE #sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND LEN(SPATIAL_REF) <= 9"
                  : "UPDATE sample_grid SET grid = SPATIAL_REF, gridtype = "
                    "SPATIAL_REF_SYSTEM WHERE SPATIAL_REF_SYSTEM %sAND "
                    "length(SPATIAL_REF) <= 9",
              {SystemsOffering(gridType)});
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
                                    std::string_view surveyList) const {
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
  if (SqlServer()) {
    return Fill(
        "SELECT itn.recommended_taxon_list_item_key, CASE WHEN left(grid,1)='W' THEN left(grid, "
        "%s) "
        "ELSE left(grid, %s) END as grid INTO #interim" +
            std::string(kJoins),
        {westLength, length, "#sample_grid", "", taxonGroupList, "", surveyList});
  }
  // The unary plus keeps SQLite from probing the survey event index and the
  // output group index once per listed key for every record: it looks each
  // record's row up by its key and tests the lists afterwards.
  return Fill(
      "CREATE TEMP TABLE interim AS SELECT itn.recommended_taxon_list_item_key, CASE WHEN "
      "substr(grid,1,1)='W' THEN substr(grid, 1, %s) ELSE substr(grid, 1, %s) END as grid" +
          std::string(kJoins),
      {westLength, length, "sample_grid", "+", taxonGroupList, "+", surveyList});
}

// One row per cell with its number of distinct taxa. SQLite groups the rows by
// cell and taxon and then counts the groups of each cell, which sorts far less
// than the window form; a missing recommended taxon counts as one taxon in both.
std::string CountSql::CountPerCell(const GridTypeInfo& gridType) const {
  const std::string westLength = std::to_string(gridType.codeLength + 1);
  const std::string length = std::to_string(gridType.codeLength);
  return Fill(SqlServer() ? "SELECT distinct grid, COUNT(*) OVER(PARTITION BY grid) AS 'Anzahl' "
                            "FROM #interim WHERE (LEFT(grid,1)='W' AND LEN(grid) = %s) OR "
                            "(LEFT(grid,1)<>'W' AND LEN(grid) = %s) GROUP BY "
                            "recommended_taxon_list_item_key, grid ORDER BY grid"
                          : "SELECT grid, COUNT(*) AS Anzahl FROM (SELECT grid FROM interim WHERE "
                            "(substr(grid,1,1)='W' AND length(grid) = %s) OR "
                            "(substr(grid,1,1)<>'W' AND length(grid) = %s) GROUP BY grid, "
                            "recommended_taxon_list_item_key) GROUP BY grid ORDER BY grid",
              {westLength, length});
}

}  // namespace velmora
