#include "platform/db/query_result.h"

#include <gtest/gtest.h>

#include "platform/db/connection_string.h"
#include "platform/errors.h"

namespace velmora {
namespace {

QueryResult Codes() {
  return QueryResult({"grid", "Anzahl"}, {std::string("6508/1"), 4LL, std::string("it's"), 2LL,
                                          std::monostate{}, 1LL, 2.5, 9LL});
}

TEST(QueryResultFind, CriteriaForms) {
  const struct {
    std::string criteria;
    int position;  // 0: at the end
  } cases[] = {
      {"grid='6508/1'", 1}, {"GRID='6508/1'", 1}, {" grid = '6508/1' ", 1}, {"grid='it''s'", 2},
      {"grid='2.5'", 4},    {"Anzahl='9'", 4},    {"grid=''", 0},           {"grid='6508'", 0},
  };
  for (const auto& c : cases) {
    QueryResult r = Codes();
    r.Find(c.criteria);
    if (c.position == 0) {
      EXPECT_TRUE(r.AtEnd()) << c.criteria;
    } else {
      EXPECT_EQ(r.Position(), c.position) << c.criteria;
    }
  }
}

TEST(QueryResultFind, OtherFormsAreErrorsNotMismatches) {
  for (const char* criteria : {"grid", "grid=6508", "grid='6508", "='6508'", "grid='it's'",
                               "grid LIKE '65%'", "grid='a' AND Anzahl='4'", "nosuch='x'"}) {
    QueryResult r = Codes();
    EXPECT_THROW(r.Find(criteria), DatabaseError) << criteria;
  }
}

TEST(QueryResult, WithoutColumnsItIsEmpty) {
  const QueryResult r({}, {});
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.RecordCount(), 0);
}

TEST(VariantToText, EveryKind) {
  EXPECT_EQ(VariantToText(std::monostate{}), "");
  EXPECT_EQ(VariantToText(std::string("Vögel")), "Vögel");
  EXPECT_EQ(VariantToText(-1234567890123LL), "-1234567890123");
  EXPECT_EQ(VariantToText(49.25), "49.25") << "a point, never a decimal comma";
  EXPECT_EQ(VariantToText(0.1), "0.1");
}

TEST(SqliteDataSource, PicksTheEmbeddedBackendOnlyForProviderSqlite) {
  EXPECT_EQ(SqliteDataSource("Provider=SQLite;Data Source=/tmp/a.db"), "/tmp/a.db");
  EXPECT_EQ(SqliteDataSource("data source = /tmp/b c.db ; PROVIDER=sqlite"), "/tmp/b c.db");
  EXPECT_EQ(SqliteDataSource("Driver=/x/libsqlite3odbc.so;Database=/tmp/a.db"), std::nullopt);
  EXPECT_EQ(SqliteDataSource("Provider=SQLOLEDB.1;Data Source=HOST\\RECORDER"), std::nullopt);
  EXPECT_THROW(SqliteDataSource("Provider=SQLite;Data Source="), DatabaseError);
}

}  // namespace
}  // namespace velmora
