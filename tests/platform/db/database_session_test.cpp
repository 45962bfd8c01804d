// One body of tests, run against SQLite directly and through the SQLite ODBC
// driver, so that both backends keep the same semantics.
#include "platform/db/database_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/errors.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using testing::Backend;

template <Backend B>
struct BackendTag {
  static constexpr Backend kBackend = B;
};

template <typename Tag>
class DatabaseSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { session_.Open(ConnectionString()); }

  std::string ConnectionString() const {
    return testing::TestConnectionString(Tag::kBackend, folder_.Path() / "test.db");
  }

  // Three rows with a null in every column but the key.
  void CreateTable() {
    session_.ExecuteNoRecords(
        "CREATE TABLE t (k VARCHAR(10) PRIMARY KEY, n INTEGER, x FLOAT, s VARCHAR(10))");
    session_.ExecuteNoRecords("INSERT INTO t VALUES ('a', 1, 1.5, 'eins')");
    session_.ExecuteNoRecords("INSERT INTO t VALUES ('b', NULL, NULL, NULL)");
    session_.ExecuteNoRecords("INSERT INTO t VALUES ('c', 3, -0.25, 'eins')");
  }

  testing::TempFolder folder_;
  DatabaseSession session_;
};

using Backends = ::testing::Types<BackendTag<Backend::Sqlite>, BackendTag<Backend::Odbc>>;
class BackendNames {
 public:
  template <typename T>
  static std::string GetName(int) {
    return T::kBackend == Backend::Sqlite ? "Sqlite" : "Odbc";
  }
};
TYPED_TEST_SUITE(DatabaseSessionTest, Backends, BackendNames);

TYPED_TEST(DatabaseSessionTest, ReportsTheSqliteDialectOnBothBackends) {
  EXPECT_TRUE(this->session_.IsOpen());
  EXPECT_EQ(this->session_.Dialect(), SqlDialect::SQLite);
}

TYPED_TEST(DatabaseSessionTest, ResultIsARewindableSnapshotWithTypedValues) {
  this->CreateTable();
  const auto r = this->session_.OpenQuery("SELECT k, n, x, s FROM t ORDER BY k");
  ASSERT_EQ(r->RecordCount(), 3);
  ASSERT_FALSE(r->AtEnd());
  EXPECT_EQ(r->Position(), 1);
  EXPECT_EQ(r->FieldValue("K"), Variant(std::string("a"))) << "names ignore case";
  EXPECT_EQ(r->FieldValue(1), Variant(1LL));
  EXPECT_EQ(r->FieldValue("x"), Variant(1.5));
  EXPECT_EQ(r->FieldValue(3), Variant(std::string("eins")));
  r->Next();
  EXPECT_EQ(r->Position(), 2);
  for (int column = 1; column < 4; ++column) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(r->FieldValue(column))) << column;
  }
  r->Next();
  EXPECT_EQ(r->FieldValue("x"), Variant(-0.25));
  r->Next();
  EXPECT_TRUE(r->AtEnd());
  EXPECT_THROW(r->FieldValue(0), DatabaseError);
  EXPECT_THROW(r->Next(), DatabaseError);
  r->First();
  EXPECT_EQ(r->Position(), 1);
  EXPECT_EQ(VariantToText(r->FieldValue("k")), "a");
  EXPECT_THROW(r->FieldValue("nosuch"), DatabaseError);
  EXPECT_THROW(r->FieldValue(4), DatabaseError);
}

TYPED_TEST(DatabaseSessionTest, FindSearchesForwardFromTheCurrentRowInclusive) {
  this->CreateTable();
  const auto r = this->session_.OpenQuery("SELECT k, s FROM t ORDER BY k");
  r->Find("s='eins'");
  EXPECT_EQ(r->Position(), 1) << "a matching current row is kept";
  r->Next();
  r->Find("s='eins'");
  EXPECT_EQ(r->Position(), 3) << "the null of row 2 matches nothing";
  r->Find("k='a'");
  EXPECT_TRUE(r->AtEnd()) << "rows before the current one are not searched";
  r->First();
  r->Find("k = 'b'");
  EXPECT_EQ(r->Position(), 2);
  r->First();
  r->Find("k='zz'");
  EXPECT_TRUE(r->AtEnd());
}

TYPED_TEST(DatabaseSessionTest, EmptyResultsAndStatementsWithoutRows) {
  this->CreateTable();
  const auto none = this->session_.OpenQuery("SELECT k FROM t WHERE k = 'zz'");
  EXPECT_TRUE(none->AtEnd());
  EXPECT_EQ(none->RecordCount(), 0);
  EXPECT_TRUE(this->session_.OpenQuery("UPDATE t SET n = 7 WHERE k = 'b'")->AtEnd());
  EXPECT_TRUE(this->session_.OpenQuery("DELETE FROM t WHERE k = 'c'")->AtEnd());
  const auto rest = this->session_.OpenQuery("SELECT n FROM t ORDER BY k");
  ASSERT_EQ(rest->RecordCount(), 2) << "the DELETE sent through OpenQuery ran";
  rest->Next();
  EXPECT_EQ(rest->FieldValue(0), Variant(7LL)) << "the UPDATE sent through OpenQuery ran";
}

TYPED_TEST(DatabaseSessionTest, ExecuteNoRecordsCountsTheRowsAffected) {
  this->CreateTable();
  EXPECT_EQ(this->session_.ExecuteNoRecords("UPDATE t SET n = 0 WHERE s = 'eins'"), 2);
  EXPECT_EQ(this->session_.ExecuteNoRecords("UPDATE t SET n = 0 WHERE k = 'zz'"), 0);
  EXPECT_EQ(this->session_.ExecuteNoRecords("INSERT INTO t (k) SELECT k || 'x' FROM t"), 3);
  EXPECT_EQ(this->session_.ExecuteNoRecords("DELETE FROM t"), 6);
  EXPECT_EQ(this->session_.ExecuteNoRecords("CREATE TABLE u (a INTEGER)"), 0);
}

TYPED_TEST(DatabaseSessionTest, TemporaryTablesLiveExactlyAsLongAsTheSession) {
  this->session_.ExecuteNoRecords("CREATE TEMP TABLE sample_grid (grid VARCHAR(9))");
  this->session_.ExecuteNoRecords("INSERT INTO sample_grid VALUES ('6508/1')");
  EXPECT_EQ(this->session_.OpenQuery("SELECT grid FROM sample_grid")->RecordCount(), 1);
  this->session_.Close();
  EXPECT_FALSE(this->session_.IsOpen());
  EXPECT_THROW(this->session_.OpenQuery("SELECT 1"), DatabaseError);

  DatabaseSession next;
  next.Open(this->ConnectionString());
  EXPECT_THROW(next.OpenQuery("SELECT grid FROM sample_grid"), DatabaseError);
}

TYPED_TEST(DatabaseSessionTest, ErrorsCarryTheProvidersMessageAndTheSessionGoesOn) {
  try {
    this->session_.OpenQuery("SELECT * FROM nosuch");
    FAIL() << "no error";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("no such table: nosuch"), std::string::npos) << e.what();
  }
  EXPECT_THROW(this->session_.ExecuteNoRecords("CREATE TABLE"), DatabaseError);
  EXPECT_THROW(this->session_.Open(this->ConnectionString()), DatabaseError)
      << "a session opens once";
  EXPECT_EQ(VariantToText(this->session_.OpenQuery("SELECT 2 AS two")->FieldValue("two")), "2");
}

TYPED_TEST(DatabaseSessionTest, CommandTimeoutInterruptsALongStatement) {
  this->session_.SetCommandTimeout(1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(this->session_.OpenQuery("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                                        "SELECT x + 1 FROM c) SELECT count(*) FROM c"),
               DatabaseError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  this->session_.SetCommandTimeout(30);
  EXPECT_EQ(this->session_.OpenQuery("SELECT 1 AS one")->RecordCount(), 1);
}

TYPED_TEST(DatabaseSessionTest, PreparedStatementRunsBatchesWithTextParameters) {
  this->session_.ExecuteNoRecords(
      "CREATE TEMP TABLE g (sample_key CHAR(16) PRIMARY KEY, grid VARCHAR(9))");
  const auto insert = this->session_.Prepare("INSERT INTO g (sample_key, grid) VALUES (?, ?)");
  std::vector<std::vector<std::string>> rows;
  // More rows than one parameter array holds, of different lengths.
  for (int i = 0; i < 2500; ++i) rows.push_back({"KEY" + std::to_string(i), ""});
  EXPECT_EQ(insert->ExecuteBatch(rows), 2500);
  EXPECT_EQ(insert->ExecuteBatch({}), 0);

  const auto update = this->session_.Prepare("UPDATE g SET grid = ? WHERE sample_key = ?");
  const std::vector<std::vector<std::string>> updates = {
      {"6508/123", "KEY7"}, {"it's", "KEY8"}, {"x", "NOSUCH"}};
  EXPECT_EQ(update->ExecuteBatch(updates), 2) << "a key that matches nothing affects nothing";
  const auto r = this->session_.OpenQuery("SELECT sample_key FROM g WHERE grid = 'it''s'");
  ASSERT_EQ(r->RecordCount(), 1) << "parameters go in as data, quotes and all";
  EXPECT_EQ(VariantToText(r->FieldValue(0)), "KEY8");

  const std::vector<std::vector<std::string>> wrongWidth = {{"only one"}};
  EXPECT_THROW(update->ExecuteBatch(wrongWidth), DatabaseError);
  std::vector<std::vector<std::string>> duplicate;
  for (int i = 0; i < 1500; ++i) duplicate.push_back({"NEW" + std::to_string(i), ""});
  duplicate[1200][0] = "KEY1";
  try {
    insert->ExecuteBatch(duplicate);
    ADD_FAILURE() << "a duplicate key went in";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("UNIQUE"), std::string::npos) << e.what();
  }
  EXPECT_EQ(this->session_.OpenQuery("SELECT * FROM g WHERE sample_key LIKE 'NEW%'")->RecordCount(),
            0)
      << "a failing batch is rolled back whole";
  EXPECT_EQ(insert->ExecuteBatch(std::span(duplicate).first(2)), 2) << "the statement goes on";
  EXPECT_EQ(this->session_.ExecuteNoRecords("DELETE FROM g"), 2502) << "the session goes on";
}

// Only the embedded backend streams; ODBC results are read whole.
TYPED_TEST(DatabaseSessionTest, OnlyTheEmbeddedBackendStreams) {
  EXPECT_EQ(this->session_.Streaming() != nullptr, TypeParam::kBackend == Backend::Sqlite);
}

class StreamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.Open(testing::TestConnectionString(Backend::Sqlite, folder_.Path() / "test.db"));
    ASSERT_NE(session_.Streaming(), nullptr);
  }
  StreamingAccess& Streaming() { return *session_.Streaming(); }

  testing::TempFolder folder_;
  DatabaseSession session_;
};

TEST_F(StreamingTest, RowsReadAsAWholeResultWouldHoldThem) {
  session_.ExecuteNoRecords("CREATE TABLE t (k VARCHAR(10), x FLOAT, s VARCHAR(10))");
  session_.ExecuteNoRecords(
      "INSERT INTO t VALUES ('a', 1.5, '2.25'), ('b', NULL, 'abc'), ('c', 7, ''), (12, -0.1, "
      "' 3')");
  std::vector<std::string> texts;
  std::vector<std::optional<double>> numbers;
  Streaming().Stream("SELECT k, x, s FROM t ORDER BY rowid", [&](const StreamedRow& row) {
    texts.emplace_back(row.Text(0));
    texts.back() += row.IsNull(1) ? "|null" : "|" + std::string(row.Text(1));
    numbers.push_back(row.Number(1));
    numbers.push_back(row.Number(2));
  });
  EXPECT_EQ(texts, (std::vector<std::string>{"a|1.5", "b|null", "c|7.0", "12|-0.1"}));
  EXPECT_EQ(numbers, (std::vector<std::optional<double>>{1.5, 2.25, std::nullopt, std::nullopt, 7.0,
                                                         std::nullopt, -0.1, std::nullopt}))
      << "a text counts as a number only when it is wholly one";
}

TEST_F(StreamingTest, ErrorsOfTheStatementOrTheReaderEndTheStream) {
  int rows = 0;
  EXPECT_THROW(Streaming().Stream("SELECT nothing FROM nowhere", [&](const StreamedRow&) {}),
               DatabaseError);
  EXPECT_THROW(Streaming().Stream("SELECT 1; SELECT 2", [&](const StreamedRow&) {}), DatabaseError);
  EXPECT_THROW(Streaming().Stream("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM "
                                  "c) SELECT x FROM c",
                                  [&](const StreamedRow&) {
                                    if (++rows == 3) throw Exception("enough");
                                  }),
               Exception);
  EXPECT_EQ(rows, 3);
  session_.SetCommandTimeout(1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(Streaming().Stream("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM "
                                  "c) SELECT x FROM c",
                                  [](const StreamedRow&) {}),
               DatabaseError)
      << "the command time-out bounds the whole stream";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(session_.OpenQuery("SELECT 1")->RecordCount(), 1) << "the session goes on";
}

TEST_F(StreamingTest, WriterTakesTypedValuesRowAfterRow) {
  session_.ExecuteNoRecords("CREATE TEMP TABLE g (k CHAR(16) PRIMARY KEY, x FLOAT, s TEXT)");
  const auto writer = Streaming().PrepareWriter("INSERT INTO g (k, x, s) VALUES (?, ?, ?)");
  const double third = 1.0 / 3;
  const std::vector<RowValue> rows = {std::string_view("a"),    third, std::monostate{},
                                      std::string_view("it's"), 49.43, std::string_view("")};
  EXPECT_EQ(writer->WriteRows(rows), 2);
  EXPECT_EQ(writer->WriteRows({}), 0);
  const auto r = session_.OpenQuery("SELECT k, x, s FROM g ORDER BY k");
  EXPECT_EQ(std::get<double>(r->FieldValue("x")), third) << "numbers go in exactly";
  EXPECT_TRUE(std::holds_alternative<std::monostate>(r->FieldValue("s")));
  r->Next();
  EXPECT_EQ(VariantToText(r->FieldValue("k")), "it's");
  EXPECT_EQ(VariantToText(r->FieldValue("s")), "");
  EXPECT_TRUE(std::holds_alternative<std::string>(r->FieldValue("s")));

  const std::vector<RowValue> halfRow = {std::string_view("b")};
  EXPECT_THROW(writer->WriteRows(halfRow), DatabaseError);
  const std::vector<RowValue> duplicate = {std::string_view("c"), 1.0, std::monostate{},
                                           std::string_view("a"), 2.0, std::monostate{}};
  EXPECT_THROW(writer->WriteRows(duplicate), DatabaseError);
  EXPECT_EQ(session_.OpenQuery("SELECT * FROM g")->RecordCount(), 2)
      << "a failing batch is rolled back whole";
}

// Rows go in many at a time where the statement is an INSERT of one group of
// values; every row lands as a row of its own would, also around the runs.
TEST_F(StreamingTest, WriterWritesRunsOfRowsAsSingleRows) {
  session_.ExecuteNoRecords("CREATE TEMP TABLE g (k CHAR(16) PRIMARY KEY, x FLOAT, s TEXT)");
  for (const char* insert :
       {"INSERT INTO g (k, x, s) VALUES (?, ?, ?)", "INSERT INTO g (k, x, s) VALUES(?,?,?);",
        "INSERT INTO g (k, x, s) SELECT ?, ?, ?", "INSERT INTO g VALUES (?, ? + 0, lower(?))"}) {
    session_.ExecuteNoRecords("DELETE FROM g");
    const auto writer = Streaming().PrepareWriter(insert);
    std::vector<std::string> keys;
    std::vector<RowValue> rows;
    constexpr int kRows = 3 * 64 + 5;
    keys.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
      keys.push_back("K" + std::to_string(1000 + i));
      rows.insert(rows.end(), {std::string_view(keys.back()), i / 4.0,
                               i % 3 ? RowValue(std::string_view("s")) : std::monostate{}});
    }
    EXPECT_EQ(writer->WriteRows(rows), kRows) << insert;
    const auto r = session_.OpenQuery("SELECT k, x, s FROM g ORDER BY k");
    ASSERT_EQ(r->RecordCount(), kRows) << insert;
    for (int i = 0; i < kRows; ++i, r->Next()) {
      ASSERT_EQ(VariantToText(r->FieldValue("k")), keys[i]) << insert;
      EXPECT_EQ(std::get<double>(r->FieldValue("x")), i / 4.0) << insert;
      EXPECT_EQ(std::holds_alternative<std::monostate>(r->FieldValue("s")), i % 3 == 0) << insert;
    }
    // A duplicate inside the second run of rows: nothing of the batch stays.
    std::vector<RowValue> again(rows.begin(), rows.begin() + 3 * 100);
    again[3 * 90] = std::string_view(keys[70]);
    session_.ExecuteNoRecords("DELETE FROM g");
    EXPECT_THROW(writer->WriteRows(again), DatabaseError) << insert;
    EXPECT_EQ(session_.OpenQuery("SELECT * FROM g")->RecordCount(), 0) << insert;
  }
}

TEST_F(StreamingTest, AReaderBesideTheSessionSeesWhatIsCommittedOnItsOwnThread) {
  session_.ExecuteNoRecords("CREATE TABLE t (k INTEGER)");
  session_.ExecuteNoRecords("INSERT INTO t VALUES (1), (2), (3)");
  session_.ExecuteNoRecords("CREATE TEMP TABLE mine (k INTEGER)");
  const std::unique_ptr<HeldState> state = Streaming().HoldState();
  RowReader* reader = &state->Beside();
  int sum = 0;
  std::thread beside([&] {
    reader->Stream("SELECT k FROM t", [&](const StreamedRow& row) { sum += *row.Number(0); });
  });
  session_.ExecuteNoRecords("INSERT INTO mine VALUES (7)");  // meanwhile, on this thread
  beside.join();
  EXPECT_EQ(sum, 6);
  EXPECT_THROW(reader->Stream("SELECT k FROM mine", [](const StreamedRow&) {}), DatabaseError)
      << "the session's temporary tables are its own";
  EXPECT_THROW(reader->Stream("INSERT INTO t VALUES (4)", [](const StreamedRow&) {}), DatabaseError)
      << "a reader only reads";
}

// While the state is held, the session and the reader beside it read the state
// it began on, statement after statement, whatever another connection commits
// meanwhile (the write-ahead log lets it commit while they read); the session
// keeps what it wrote meanwhile.
TEST_F(StreamingTest, AHeldStateIsReadByTheSessionAndTheReaderBesideIt) {
  if (VariantToText(session_.OpenQuery("PRAGMA journal_mode = WAL")->FieldValue(0)) != "wal") {
    GTEST_SKIP() << "the file system offers no write-ahead log";
  }
  session_.ExecuteNoRecords("CREATE TABLE t (k INTEGER)");
  session_.ExecuteNoRecords("INSERT INTO t VALUES (1), (2), (3)");
  DatabaseSession other;
  other.Open(testing::TestConnectionString(Backend::Sqlite, folder_.Path() / "test.db"));
  const auto sum = [](RowReader& reader) {
    double total = 0;
    reader.Stream("SELECT k FROM t", [&](const StreamedRow& row) { total += *row.Number(0); });
    return total;
  };
  {
    const std::unique_ptr<HeldState> state = Streaming().HoldState();
    other.ExecuteNoRecords("INSERT INTO t VALUES (4)");
    EXPECT_EQ(sum(Streaming()), 6);
    session_.ExecuteNoRecords("CREATE TEMP TABLE mine AS SELECT k FROM t");
    other.ExecuteNoRecords("DELETE FROM t WHERE k = 1");
    EXPECT_EQ(sum(state->Beside()), 6);
    EXPECT_EQ(sum(Streaming()), 6);
    state->End();
  }
  EXPECT_EQ(sum(Streaming()), 9);
  EXPECT_EQ(VariantToText(session_.OpenQuery("SELECT SUM(k) FROM mine")->FieldValue(0)), "6");
}

// The SQLite ODBC driver makes a database where there is none: a misspelled
// path must fail before the driver is asked, instead of leaving an empty
// database behind that a count then finds without tables.
TEST(DatabaseSessionOpen, AMissingDatabaseFileOfTheOdbcDriverIsRefusedNotMade) {
  testing::TempFolder folder;
  std::string connectionString =
      testing::TestConnectionString(Backend::Odbc, folder.Path() / "host.db");
  connectionString.replace(connectionString.rfind("host.db"), 7, "hots.db");
  DatabaseSession session;
  try {
    session.Open(connectionString);
    ADD_FAILURE() << connectionString << " opened";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("hots.db"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "hots.db"));
}

TEST(DatabaseSessionOpen, BadConnectionStringsFailWithAClearMessage) {
  const struct {
    std::string connectionString;
    std::string expected;
  } cases[] = {
      {"Provider=SQLite;Data Source=/nonexistent/folder/x.db", "/nonexistent/folder/x.db"},
      {"Provider=SQLite", "Data Source"},
      {"Driver=/nonexistent/libnodriver.so;Database=/tmp/x.db", "/nonexistent/libnodriver.so"},
      {"DSN=VelmoraNoSuchDataSource", "not found"},
  };
  for (const auto& c : cases) {
    DatabaseSession session;
    try {
      session.Open(c.connectionString);
      ADD_FAILURE() << c.connectionString << " opened";
    } catch (const DatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
    }
    EXPECT_FALSE(session.IsOpen());
  }
}

TEST(DatabaseSessionOpen, AFileThatIsNoDatabaseFailsAtOpening) {
  testing::TempFolder folder;
  const auto path = folder.Path() / "not-a.db";
  std::ofstream(path) << "this is plain text, not an SQLite database file at all........";
  DatabaseSession session;
  EXPECT_THROW(session.Open("Provider=SQLite;Data Source=" + path.string()), DatabaseError);
}

// Another program holds the database in a write transaction. Waiting for its
// lock ends with the database's own message once the time-out that governs the
// wait has passed: the connection time-out while opening, the command time-out
// for each statement. The bounds are generous; without them the wait never ends.
TEST(DatabaseSessionLocks, AWaitForALockEndsWithTheTimeOut) {
  testing::TempFolder folder;
  const std::string connection =
      testing::TestConnectionString(Backend::Sqlite, folder.Path() / "locked.db");
  DatabaseSession early;
  early.SetConnectionTimeout(400);
  early.SetCommandTimeout(1);
  early.Open(connection);
  early.ExecuteNoRecords("CREATE TABLE t (n INTEGER)");

  DatabaseSession holder;
  holder.Open(connection);
  holder.ExecuteNoRecords("BEGIN EXCLUSIVE");
  holder.ExecuteNoRecords("INSERT INTO t VALUES (1)");

  const auto message = [](const std::function<void()>& work) {
    try {
      work();
    } catch (const DatabaseError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(message([&] { early.OpenQuery("SELECT count(*) FROM t"); }), "database is locked");
  EXPECT_EQ(message([&] { early.ExecuteNoRecords("INSERT INTO t VALUES (2)"); }),
            "database is locked");
  const Clock::time_point opening = Clock::now();
  DatabaseSession late;
  late.SetConnectionTimeout(1);
  late.SetCommandTimeout(400);
  EXPECT_EQ(message([&] { late.Open(connection); }), "database is locked");
  EXPECT_FALSE(late.IsOpen());
  EXPECT_LT(opening - start, std::chrono::seconds(20)) << "two statements of one second";
  EXPECT_LT(Clock::now() - opening, std::chrono::seconds(20)) << "an opening of one second";

  holder.ExecuteNoRecords("COMMIT");
  EXPECT_EQ(VariantToText(early.OpenQuery("SELECT count(*) AS n FROM t")->FieldValue("n")), "1")
      << "the lock gone, the session goes on";
}

}  // namespace
}  // namespace velmora
