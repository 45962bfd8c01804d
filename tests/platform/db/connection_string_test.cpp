#include "platform/db/connection_string.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/errors.h"

namespace velmora {
namespace {

// A path goes into the embedded backend's connection string and comes back
// byte for byte: not trimmed, not cut at a ';', not unquoted twice.
TEST(SqliteConnectionString, GivesEveryPathBackAsItIs) {
  const std::string paths[] = {"/tmp/sp.db ", " sp.db",   "\tsp.db\t",   "a;b.db",     "\"q\".db",
                               "'q.db",       "a\"\".db", "/tmp/ä ö.db", "bad\xe9.db", "x='y'"};
  for (const std::string& path : paths) {
    EXPECT_EQ(SqliteDataSource(SqliteConnectionString(path)), path) << path;
    EXPECT_EQ(DatabaseFileOf(SqliteConnectionString(path)), path) << path;
  }
  EXPECT_EQ(SqliteConnectionString("/tmp/a b.db"), "Provider=SQLite;Data Source=/tmp/a b.db")
      << "quoted only where the rules need it";
  EXPECT_EQ(SqliteConnectionString("sp.db "), "Provider=SQLite;Data Source=\"sp.db \"");
}

TEST(SqliteDataSource, ReadsQuotedValuesAndRefusesAnOpenQuote) {
  const struct {
    std::string connectionString;
    std::optional<std::string> path;  // nothing: refused
  } cases[] = {
      {"Provider=SQLite;Data Source=\"a \"\"b\"\" ;c.db \"", "a \"b\" ;c.db "},
      {"Data Source = 'x;y.db' ; Provider=SQLite", "x;y.db"},
      {"Provider='SQLite';Data Source=\"\"\"\"", "\""},
      {"Provider=SQLite;Data Source=\"open.db", std::nullopt},
      {"Provider=SQLite;Data Source=\"a.db\" b", std::nullopt},
      {"Provider=SQLite;Data Source=\"\"", std::nullopt},
  };
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(SqliteDataSource(c.connectionString), c.path) << c.connectionString;
    } catch (const DatabaseError& e) {
      EXPECT_FALSE(c.path) << c.connectionString << ": " << e.what();
    }
  }
  EXPECT_EQ(SqliteDataSource("Driver=X;PWD='open"), std::nullopt) << "ODBC's own, not refused";
}

// The file an ODBC connection opens, as the SQLite ODBC driver reads its
// connection string (found by trying the driver): the first "Database" key,
// exactly, and its value to the next ';' as it stands.
TEST(DatabaseFileOf, TakesTheSqliteDriversDatabaseAsTheDriverReadsIt) {
  const struct {
    std::string connectionString;
    std::optional<std::string> file;
  } cases[] = {
      {"Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=/tmp/x.db", "/tmp/x.db"},
      {"DRIVER={SQLite3};database= x.db ;Database=y.db", " x.db "},
      {"Driver=SQLite3;Database={a;b.db}", "{a"},
      {"Driver=SQLite3;Database=\"a.db\"", "\"a.db\""},
      {"Driver=SQLite3; Database =a.db", std::nullopt},
      {"Driver=SQLite3;Timeout;Database=a.db", std::nullopt},
      {"Driver=SQLite3;Database=", std::nullopt},
      {"Driver={FreeTDS};Server=db;Database=NBNData", std::nullopt},
      {"DSN=nbn;Database=a.db", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<std::filesystem::path> file = DatabaseFileOf(c.connectionString);
    EXPECT_EQ(file ? std::optional(file->string()) : std::nullopt, c.file) << c.connectionString;
  }
}

}  // namespace
}  // namespace velmora
