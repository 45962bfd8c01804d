// The SQL Server statements are what the host's server has always been sent;
// they must stay word for word, but for the mends of unsafe or failing texts.
#include "count/statements/count_sql.h"

#include <gtest/gtest.h>

#include "count/sample_table.h"
#include "count/year_range.h"

namespace velmora {
namespace {

const CountSql kServer(SqlDialect::SqlServer);

TEST(CountSqlServer, SampleTableStatements) {
  EXPECT_EQ(DropSampleTableSql(SqlDialect::SqlServer),
            "IF OBJECT_ID('tempdb..#sample_grid') IS NOT NULL DROP TABLE #sample_grid");
  EXPECT_EQ(CreateSampleTableSql(SqlDialect::SqlServer),
            "CREATE TABLE #sample_grid (grid VARCHAR(9) COLLATE Database_Default, gridtype "
            "VARCHAR(3) COLLATE Database_Default, sample_key CHAR(16) COLLATE Database_Default "
            "PRIMARY KEY , SURVEY_EVENT_KEY CHAR(16) COLLATE Database_Default , SPATIAL_REF "
            "VARCHAR(40) COLLATE Database_Default, SPATIAL_REF_SYSTEM VARCHAR(4) COLLATE "
            "Database_Default, LAT float, Long float)");
  EXPECT_EQ(kServer.CopySamples({}),
            "INSERT INTO #sample_grid (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, "
            "SPATIAL_REF_SYSTEM, LAT, LONG) SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, "
            "SPATIAL_REF_SYSTEM, LAT, LONG FROM SAMPLE WHERE LAT IS NOT NULL");
  EXPECT_EQ(kServer.SamplesToConvert(),
            "SELECT SAMPLE_KEY, LAT, LONG FROM #sample_grid WHERE SPATIAL_REF_SYSTEM NOT IN "
            "('QQQ','QYX') OR SPATIAL_REF_SYSTEM IS NULL");
  EXPECT_EQ(kServer.UpdateSampleCell(),
            "UPDATE #sample_grid SET grid=?, gridtype=? WHERE SAMPLE_KEY=?");
  EXPECT_EQ(kServer.DeleteEmptyCodes(), "DELETE FROM #sample_grid WHERE GRID = '' ");
  EXPECT_EQ(kServer.DeleteMissingCodes(), "DELETE FROM #sample_grid WHERE GRID IS NULL ");
}

// Only cell codes of the reference's own system are taken over, matched with a
// binary collation so that neither a lower-case "w" nor other digits pass, and
// without trailing blanks, which the server's LIKE would pass ('6508/12 ')
// where the embedded road's match does not.
TEST(CountSqlServer, TakeOverByGridTypeOnlyOfCellCodes) {
  const std::string quadrantCodes =
      "(SPATIAL_REF COLLATE Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]' OR SPATIAL_REF "
      "COLLATE Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]/[1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]/[1-4][1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]/[1-4][1-4][1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]/[1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]/[1-4][1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]/[1-4][1-4][1-4]')";
  const std::string minuteCodes =
      "(SPATIAL_REF COLLATE Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]' OR SPATIAL_REF "
      "COLLATE Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]/[1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE '[0-9][0-9][0-9][0-9]/[1-4][1-3][1-5]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]/[1-4]' OR SPATIAL_REF COLLATE "
      "Latin1_General_BIN LIKE 'W[0-9][0-9][0-9][0-9]/[1-4][1-3][1-5]')";
  const std::string update =
      "UPDATE #sample_grid SET grid = SPATIAL_REF, gridtype = SPATIAL_REF_SYSTEM WHERE "
      "SPATIAL_REF_SYSTEM ";
  const std::string noBlank = " AND SPATIAL_REF NOT LIKE '% '";
  const std::string both = update + "IN ('QQQ','QYX') AND ((SPATIAL_REF_SYSTEM = 'QQQ' AND " +
                           quadrantCodes + ") OR (SPATIAL_REF_SYSTEM = 'QYX' AND " + minuteCodes +
                           "))" + noBlank;
  const std::string quadrants = update + "= 'QQQ' AND " + quadrantCodes + noBlank;
  const std::string minutes = update + "= 'QYX' AND " + minuteCodes + noBlank;
  const std::string expected[] = {both, both, quadrants, quadrants, minutes};
  for (const GridTypeInfo& type : kGridTypes)
    EXPECT_EQ(kServer.TakeOverGridReferences(type), expected[type.item]) << type.name;
}

TEST(CountSqlServer, SheetRemovalReadsBareSheetsAndEmptyExtents) {
  EXPECT_EQ(kServer.DeleteOutsideSheets("('0901','0902','1001','1002')"),
            "DELETE FROM #sample_grid WHERE LEFT(GRID, CHARINDEX('/',GRID + '/')-1) NOT IN "
            "('0901','0902','1001','1002')");
  EXPECT_EQ(kServer.DeleteOutsideSheets("()"), "DELETE FROM #sample_grid");
}

TEST(CountSqlServer, CountStatementsFillTheirPlaceholdersInOrder) {
  EXPECT_EQ(kServer.DropInterim(),
            "IF OBJECT_ID('TempDB..#interim') IS NOT NULL DROP TABLE #interim");
  EXPECT_EQ(
      kServer.SelectInterim(kGridTypes[1], "('G1','G2')", "('no data')"),
      "SELECT itn.recommended_taxon_list_item_key, CASE WHEN left(grid,1)='W' THEN left(grid, 7) "
      "ELSE left(grid, 6) END as grid INTO #interim FROM SURVEY_EVENT se INNER JOIN #sample_grid s "
      "ON se.SURVEY_EVENT_KEY = s.SURVEY_EVENT_KEY INNER JOIN taxon_occurrence toc ON "
      "toc.sample_key = s.sample_key INNER JOIN taxon_determination td ON "
      "toc.taxon_occurrence_key = td.taxon_occurrence_key LEFT JOIN INDEX_TAXON_NAME itn ON "
      "itn.TAXON_LIST_ITEM_KEY = td.taxon_list_item_key LEFT JOIN TAXON_LIST_ITEM TLI ON "
      "itn.TAXON_LIST_ITEM_KEY = TLI.TAXON_LIST_ITEM_KEY LEFT JOIN TAXON_VERSION TV ON "
      "TV.TAXON_VERSION_KEY = TLI.TAXON_VERSION_KEY WHERE td.preferred = 1 AND "
      "TOC.CONFIDENTIAL=0 AND TOC.ZERO_ABUNDANCE=0 AND TOC.CHECKED=1 AND OUTPUT_GROUP_KEY IN "
      "('G1','G2') AND SURVEY_KEY IN ('no data')");
  EXPECT_EQ(kServer.CountPerCell(kGridTypes[3]),
            "SELECT distinct grid, COUNT(*) OVER(PARTITION BY grid) AS 'Anzahl' FROM #interim "
            "WHERE (LEFT(grid,1)='W' AND LEN(grid) = 9) OR (LEFT(grid,1)<>'W' AND LEN(grid) = 8) "
            "GROUP BY recommended_taxon_list_item_key, grid ORDER BY grid");
}

// The command line's year limits and record counts change the statements
// only when they are asked for.
TEST(CountSqlServer, YearLimitsAndRecordsOnlyWhereAsked) {
  const std::string copy =
      "INSERT INTO #sample_grid (SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, "
      "LAT, LONG) SELECT SAMPLE_KEY, SURVEY_EVENT_KEY, SPATIAL_REF, SPATIAL_REF_SYSTEM, LAT, LONG "
      "FROM SAMPLE WHERE LAT IS NOT NULL";
  EXPECT_EQ(kServer.CopySamples({.from = 1985, .to = 2023}),
            copy + " AND VAGUE_DATE_START >= 31048 AND VAGUE_DATE_END <= 45291");
  EXPECT_EQ(kServer.CopySamples({.from = 2000}), copy + " AND VAGUE_DATE_START >= 36526");
  EXPECT_EQ(kServer.CopySamples({.to = 1899}), copy + " AND VAGUE_DATE_END <= 1");
  EXPECT_EQ(
      kServer.SelectInterim(kGridTypes[0], "('G1')", "('S1')", true),
      "SELECT itn.recommended_taxon_list_item_key, toc.taxon_occurrence_key, CASE WHEN "
      "left(grid,1)='W' THEN left(grid, 5) ELSE left(grid, 4) END as grid INTO #interim FROM "
      "SURVEY_EVENT se INNER JOIN #sample_grid s ON se.SURVEY_EVENT_KEY = s.SURVEY_EVENT_KEY INNER "
      "JOIN taxon_occurrence toc ON toc.sample_key = s.sample_key INNER JOIN taxon_determination "
      "td ON toc.taxon_occurrence_key = td.taxon_occurrence_key LEFT JOIN INDEX_TAXON_NAME itn ON "
      "itn.TAXON_LIST_ITEM_KEY = td.taxon_list_item_key LEFT JOIN TAXON_LIST_ITEM TLI ON "
      "itn.TAXON_LIST_ITEM_KEY = TLI.TAXON_LIST_ITEM_KEY LEFT JOIN TAXON_VERSION TV ON "
      "TV.TAXON_VERSION_KEY = TLI.TAXON_VERSION_KEY WHERE td.preferred = 1 AND "
      "TOC.CONFIDENTIAL=0 AND TOC.ZERO_ABUNDANCE=0 AND TOC.CHECKED=1 AND OUTPUT_GROUP_KEY IN "
      "('G1') AND SURVEY_KEY IN ('S1')");
  EXPECT_EQ(kServer.RecordsPerCell(kGridTypes[1]),
            "SELECT grid, COUNT(DISTINCT taxon_occurrence_key) AS Anzahl FROM #interim WHERE "
            "(LEFT(grid,1)='W' AND LEN(grid) = 7) OR (LEFT(grid,1)<>'W' AND LEN(grid) = 6) GROUP "
            "BY grid ORDER BY grid");
}

}  // namespace
}  // namespace velmora
