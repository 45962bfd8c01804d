// The demo database: the host's schema, deterministic content that exercises
// every rule of the count, and the background picture of its extent.
#include "demo/demo_database.h"

#include <gtest/gtest.h>

#include "demo/background_bmp.h"
#include "platform/db/database_session.h"
#include "platform/errors.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora::demo {
namespace {

class DemoDatabaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing::TempFolder;
    DemoOptions options;
    options.samples = 6000;
    options.seed = 42;
    summary_ = WriteDemoDatabase(Path(), options);
  }
  static void TearDownTestSuite() { delete folder_; }
  static std::filesystem::path Path() { return folder_->Path() / "demo.db"; }

  void SetUp() override {
    session_.Open(testing::TestConnectionString(testing::Backend::Sqlite, Path()));
  }

  long long Count(const std::string& sql) {
    return std::get<long long>(session_.OpenQuery(sql)->FieldValue(0));
  }

  static testing::TempFolder* folder_;
  static DemoSummary summary_;
  DatabaseSession session_;
};

testing::TempFolder* DemoDatabaseTest::folder_ = nullptr;
DemoSummary DemoDatabaseTest::summary_;

TEST_F(DemoDatabaseTest, HasTheHostsColumnsTypesAndPrimaryKeys) {
  const struct {
    const char* table;
    const char* column;
    const char* type;
    bool notNull;
    bool key;
  } columns[] = {
      {"SAMPLE", "SAMPLE_KEY", "CHAR(16)", true, true},
      {"SAMPLE", "SURVEY_EVENT_KEY", "CHAR(16)", true, false},
      {"SAMPLE", "SPATIAL_REF", "VARCHAR(40)", false, false},
      {"SAMPLE", "SPATIAL_REF_SYSTEM", "VARCHAR(4)", false, false},
      {"SAMPLE", "LAT", "FLOAT", false, false},
      {"SAMPLE", "LONG", "FLOAT", false, false},
      {"SAMPLE", "VAGUE_DATE_START", "INT", false, false},
      {"SURVEY_EVENT", "SURVEY_EVENT_KEY", "CHAR(16)", true, true},
      {"SURVEY_EVENT", "SURVEY_KEY", "CHAR(16)", true, false},
      {"SURVEY", "SURVEY_KEY", "CHAR(16)", true, true},
      {"SURVEY", "ITEM_NAME", "VARCHAR(100)", true, false},
      {"TAXON_OCCURRENCE", "TAXON_OCCURRENCE_KEY", "CHAR(16)", true, true},
      {"TAXON_OCCURRENCE", "ZERO_ABUNDANCE", "BIT", true, false},
      {"TAXON_OCCURRENCE", "CONFIDENTIAL", "BIT", true, false},
      {"TAXON_OCCURRENCE", "CHECKED", "BIT", true, false},
      {"TAXON_DETERMINATION", "TAXON_DETERMINATION_KEY", "CHAR(16)", true, true},
      {"TAXON_DETERMINATION", "PREFERRED", "BIT", true, false},
      {"INDEX_TAXON_NAME", "TAXON_LIST_ITEM_KEY", "CHAR(16)", true, true},
      {"INDEX_TAXON_NAME", "RECOMMENDED_TAXON_LIST_ITEM_KEY", "CHAR(16)", false, false},
      {"TAXON_LIST_ITEM", "TAXON_LIST_ITEM_KEY", "CHAR(16)", true, true},
      {"TAXON_VERSION", "TAXON_VERSION_KEY", "CHAR(16)", true, true},
      {"TAXON_VERSION", "OUTPUT_GROUP_KEY", "CHAR(16)", false, false},
      {"TAXON_GROUP", "TAXON_GROUP_KEY", "CHAR(16)", true, true},
      {"TAXON_GROUP", "SORT_ORDER", "INT", false, false},
  };
  for (const auto& c : columns) {
    const auto info = session_.OpenQuery(std::string("PRAGMA table_info(") + c.table + ")");
    info->Find(std::string("name='") + c.column + "'");
    ASSERT_FALSE(info->AtEnd()) << c.table << "." << c.column;
    EXPECT_EQ(VariantToText(info->FieldValue("type")), c.type) << c.column;
    EXPECT_EQ(VariantToText(info->FieldValue("notnull")), c.notNull ? "1" : "0") << c.column;
    EXPECT_EQ(VariantToText(info->FieldValue("pk")), c.key ? "1" : "0") << c.column;
  }
}

TEST_F(DemoDatabaseTest, IndexesTheForeignKeysOfTheJoins) {
  for (const char* indexed :
       {"SAMPLE(SURVEY_EVENT_KEY)", "SURVEY_EVENT(SURVEY_KEY)", "TAXON_OCCURRENCE(SAMPLE_KEY)",
        "TAXON_DETERMINATION(TAXON_OCCURRENCE_KEY)", "TAXON_DETERMINATION(TAXON_LIST_ITEM_KEY)",
        "INDEX_TAXON_NAME(RECOMMENDED_TAXON_LIST_ITEM_KEY)", "TAXON_LIST_ITEM(TAXON_VERSION_KEY)",
        "TAXON_VERSION(OUTPUT_GROUP_KEY)"}) {
    const std::string text(indexed);
    const auto open = text.find('(');
    const std::string table = text.substr(0, open);
    const std::string column = text.substr(open + 1, text.size() - open - 2);
    EXPECT_EQ(
        Count("SELECT count(*) FROM pragma_index_list('" + table +
              "') l, pragma_index_info(l.name) i WHERE i.seqno = 0 AND i.name = '" + column + "'"),
        1)
        << indexed;
  }
}

TEST_F(DemoDatabaseTest, KeysAreASiteIdAndABase36Counter) {
  for (const char* key : {"SAMPLE.SAMPLE_KEY", "SAMPLE.SURVEY_EVENT_KEY", "SURVEY.SURVEY_KEY",
                          "TAXON_OCCURRENCE.TAXON_OCCURRENCE_KEY", "TAXON_OCCURRENCE.SAMPLE_KEY",
                          "TAXON_DETERMINATION.TAXON_LIST_ITEM_KEY", "TAXON_GROUP.TAXON_GROUP_KEY",
                          "INDEX_TAXON_NAME.RECOMMENDED_TAXON_LIST_ITEM_KEY"}) {
    const std::string text(key);
    const std::string table = text.substr(0, text.find('.')),
                      column = text.substr(text.find('.') + 1);
    EXPECT_EQ(Count("SELECT count(*) FROM " + table + " WHERE length(" + column + ") <> 16 OR " +
                    column + " GLOB '*[^0-9A-Z]*'"),
              0)
        << key;
  }
}

TEST_F(DemoDatabaseTest, RecordsHangTogether) {
  EXPECT_EQ(summary_.samples, 6000);
  EXPECT_EQ(Count("SELECT count(*) FROM SAMPLE"), 6000);
  EXPECT_EQ(Count("SELECT count(*) FROM TAXON_OCCURRENCE"), 6000 * 5);
  EXPECT_EQ(Count("SELECT count(*) FROM TAXON_DETERMINATION"), summary_.determinations);
  const char* orphans[] = {
      "SELECT count(*) FROM SAMPLE s LEFT JOIN SURVEY_EVENT e USING (SURVEY_EVENT_KEY) "
      "WHERE e.SURVEY_KEY IS NULL",
      "SELECT count(*) FROM SURVEY_EVENT e LEFT JOIN SURVEY v USING (SURVEY_KEY) "
      "WHERE v.ITEM_NAME IS NULL",
      "SELECT count(*) FROM TAXON_OCCURRENCE o LEFT JOIN SAMPLE s USING (SAMPLE_KEY) "
      "WHERE s.SURVEY_EVENT_KEY IS NULL",
      "SELECT count(*) FROM TAXON_DETERMINATION d LEFT JOIN INDEX_TAXON_NAME i "
      "USING (TAXON_LIST_ITEM_KEY) WHERE i.ACTUAL_NAME IS NULL",
      "SELECT count(*) FROM TAXON_LIST_ITEM l LEFT JOIN TAXON_VERSION v "
      "USING (TAXON_VERSION_KEY) WHERE v.TAXON_VERSION_KEY IS NULL",
      "SELECT count(*) FROM INDEX_TAXON_NAME i LEFT JOIN INDEX_TAXON_NAME r "
      "ON r.TAXON_LIST_ITEM_KEY = i.RECOMMENDED_TAXON_LIST_ITEM_KEY WHERE r.ACTUAL_NAME IS NULL",
  };
  for (const char* sql : orphans) EXPECT_EQ(Count(sql), 0) << sql;
  EXPECT_EQ(Count("SELECT count(*) FROM SAMPLE WHERE VAGUE_DATE_START > VAGUE_DATE_END OR "
                  "VAGUE_DATE_START < 29587 OR VAGUE_DATE_END > 45657 OR (VAGUE_DATE_TYPE <> 'U') "
                  "<> (VAGUE_DATE_START IS NOT NULL)"),
            0)
      << "dates lie between 1981 and 2024, the start before the end";
}

TEST_F(DemoDatabaseTest, ContentExercisesEveryRuleOfTheCount) {
  const struct {
    const char* what;
    const char* where;  // of SAMPLE, TAXON_OCCURRENCE or whatever the FROM says
  } present[] = {
      {"no LAT", "SAMPLE WHERE LAT IS NULL"},
      {"a QQQ reference but no LAT", "SAMPLE WHERE LAT IS NULL AND SPATIAL_REF_SYSTEM = 'QQQ'"},
      {"LAT but no LONG", "SAMPLE WHERE LAT IS NOT NULL AND LONG IS NULL"},
      {"no system", "SAMPLE WHERE SPATIAL_REF_SYSTEM IS NULL AND LAT IS NOT NULL"},
      {"LTLN", "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'LTLN'"},
      {"OSGB", "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'OSGB'"},
      {"UTM", "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'UTM'"},
      {"QQQ bare sheet", "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QQQ' AND length(SPATIAL_REF) = 4"},
      {"QQQ quadrant",
       "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QQQ' AND SPATIAL_REF GLOB '[0-9][0-9][0-9][0-9]/[1-4]'"},
      {"QQQ 4tel",
       "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QQQ' AND SPATIAL_REF GLOB "
       "'[0-9][0-9][0-9][0-9]/[1-4][1-4]'"},
      {"QQQ 16tel",
       "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QQQ' AND SPATIAL_REF GLOB "
       "'[0-9][0-9][0-9][0-9]/[1-4][1-4][1-4]'"},
      {"QYX bare sheet", "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QYX' AND length(SPATIAL_REF) = 4"},
      {"QYX minute field",
       "SAMPLE WHERE SPATIAL_REF_SYSTEM = 'QYX' AND SPATIAL_REF GLOB "
       "'[0-9][0-9][0-9][0-9]/[1-4][1-3][1-5]'"},
      {"west sheet", "SAMPLE WHERE SPATIAL_REF_SYSTEM IN ('QQQ','QYX') AND SPATIAL_REF GLOB 'W*'"},
      {"outside the extent",
       "SAMPLE WHERE LAT > 49.55 OR LAT < 49.15 OR LONG < 6.95 OR LONG > 7.72"},
      {"outside the sheet numbering", "SAMPLE WHERE LAT > 56.0"},
      {"a day", "SAMPLE WHERE VAGUE_DATE_TYPE = 'D' AND VAGUE_DATE_START = VAGUE_DATE_END"},
      {"a month", "SAMPLE WHERE VAGUE_DATE_TYPE = 'O' AND VAGUE_DATE_END - VAGUE_DATE_START >= 27"},
      {"a year", "SAMPLE WHERE VAGUE_DATE_TYPE = 'Y' AND VAGUE_DATE_END - VAGUE_DATE_START = 364"},
      {"several years",
       "SAMPLE WHERE VAGUE_DATE_TYPE = 'YY' AND VAGUE_DATE_END - VAGUE_DATE_START > 365"},
      {"no date",
       "SAMPLE WHERE VAGUE_DATE_TYPE = 'U' AND VAGUE_DATE_START IS NULL AND VAGUE_DATE_END IS "
       "NULL"},
      {"confidential", "TAXON_OCCURRENCE WHERE CONFIDENTIAL = 1"},
      {"zero abundance", "TAXON_OCCURRENCE WHERE ZERO_ABUNDANCE = 1"},
      {"unchecked", "TAXON_OCCURRENCE WHERE CHECKED = 0"},
      {"preferred and non-preferred determination",
       "TAXON_DETERMINATION p JOIN TAXON_DETERMINATION n USING (TAXON_OCCURRENCE_KEY) "
       "WHERE p.PREFERRED = 1 AND n.PREFERRED = 0"},
      {"only a non-preferred determination",
       "TAXON_OCCURRENCE o WHERE NOT EXISTS (SELECT 1 FROM TAXON_DETERMINATION d WHERE "
       "d.TAXON_OCCURRENCE_KEY = o.TAXON_OCCURRENCE_KEY AND d.PREFERRED = 1)"},
      {"a synonym determined",
       "TAXON_DETERMINATION d JOIN INDEX_TAXON_NAME i USING "
       "(TAXON_LIST_ITEM_KEY) WHERE i.RECOMMENDED_TAXON_LIST_ITEM_KEY <> i.TAXON_LIST_ITEM_KEY"},
      {"a taxon in no group", "TAXON_VERSION WHERE OUTPUT_GROUP_KEY IS NULL"},
      {"Gefäßpflanzen", "TAXON_GROUP WHERE TAXON_GROUP_NAME = 'Gefäßpflanzen'"},
      {"Vögel", "TAXON_GROUP WHERE TAXON_GROUP_NAME = 'Vögel'"},
      {"Libellen", "TAXON_GROUP WHERE TAXON_GROUP_NAME = 'Libellen'"},
  };
  for (const auto& p : present) {
    EXPECT_GT(Count(std::string("SELECT count(*) FROM ") + p.where), 0) << p.what;
  }
  EXPECT_GT(Count("SELECT count(*) FROM (SELECT RECOMMENDED_TAXON_LIST_ITEM_KEY FROM "
                  "INDEX_TAXON_NAME GROUP BY 1 HAVING count(*) >= 3)"),
            0)
      << "several names share one recommended item";
}

TEST_F(DemoDatabaseTest, PointsGatherUnevenlyOverTheExtent) {
  // 16tel-Quadranten of the extent 6508 to 6711 (3 x 4 sheets, 8 x 8 cells each),
  // from the points written as latitude and longitude.
  const auto cells = session_.OpenQuery(
      "SELECT CAST((49.5 - LAT) / 0.0125 AS INT) AS r, CAST((LONG - 7.0) / (1.0 / 48) AS INT) AS "
      "c, "
      "count(*) AS n FROM SAMPLE WHERE SPATIAL_REF_SYSTEM = 'LTLN' AND LONG IS NOT NULL AND "
      "LAT < 49.5 AND LAT > 49.2 AND LONG > 7.0 AND LONG < 7.0 + 4.0 / 6 GROUP BY 1, 2");
  const int occupied = cells->RecordCount();
  long long total = 0, densest = 0;
  for (; !cells->AtEnd(); cells->Next()) {
    const long long n = std::get<long long>(cells->FieldValue("n"));
    total += n;
    densest = std::max(densest, n);
  }
  EXPECT_LT(occupied, 24 * 32 * 3 / 4) << "some cells stay empty";
  EXPECT_GT(occupied, 24 * 32 / 10) << "the points spread";
  EXPECT_GT(densest, 5 * total / occupied) << "some cells are dense";
}

TEST(DemoDatabase, SameSeedSameFileOtherSeedOtherFile) {
  testing::TempFolder folder;
  DemoOptions options;
  options.samples = 500;
  options.seed = 7;
  WriteDemoDatabase(folder.Path() / "a.db", options);
  WriteDemoDatabase(folder.Path() / "b.db", options);
  options.seed = 8;
  WriteDemoDatabase(folder.Path() / "c.db", options);
  EXPECT_EQ(testing::ReadFileBytes(folder.Path() / "a.db"),
            testing::ReadFileBytes(folder.Path() / "b.db"));
  EXPECT_NE(testing::ReadFileBytes(folder.Path() / "a.db"),
            testing::ReadFileBytes(folder.Path() / "c.db"));
  WriteDemoDatabase(folder.Path() / "a.db", options);
  EXPECT_EQ(testing::ReadFileBytes(folder.Path() / "a.db"),
            testing::ReadFileBytes(folder.Path() / "c.db"))
      << "an existing file is replaced whole";
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

TEST(BackgroundBmp, IsA24BitBmpOfSheetSizedTiles) {
  testing::TempFolder folder;
  const Extent extent = *Extent::Read("6508", "6711");
  WriteBackgroundBmp(folder.Path() / "a.bmp", extent, 1);
  WriteBackgroundBmp(folder.Path() / "b.bmp", extent, 1);
  const std::string bmp = testing::ReadFileBytes(folder.Path() / "a.bmp");
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  const std::uint32_t width = LittleEndian(bmp, 18, 4), height = LittleEndian(bmp, 22, 4);
  EXPECT_EQ(width, 4u * 240);
  EXPECT_EQ(height, 3u * 224);
  EXPECT_EQ(LittleEndian(bmp, 28, 2), 24u);
  EXPECT_EQ(LittleEndian(bmp, 2, 4), bmp.size());
  EXPECT_EQ(bmp.size(), 54 + (width * 3 + 3) / 4 * 4 * height);
  EXPECT_EQ(bmp, testing::ReadFileBytes(folder.Path() / "b.bmp"));

  const BmpSize largest = BackgroundSize(*Extent::Read("0901", "8758"));
  EXPECT_LE(std::max(largest.width, largest.height), 4000) << "large extents get small tiles";
  EXPECT_EQ(largest.width % 58, 0);
  EXPECT_EQ(largest.height % 79, 0);
}

}  // namespace
}  // namespace velmora::demo
