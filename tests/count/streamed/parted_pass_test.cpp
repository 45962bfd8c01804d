// A pass over a table in parts of its keys on two connections: every row once,
// in key order within each worker, and the failure of either worker ends it.
#include "count/streamed/parted_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/db/database_session.h"
#include "platform/errors.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using testing::Backend;
using testing::TempFolder;
using testing::TestConnectionString;

class RecordedProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int percent) override { positions.push_back(percent); }
  std::vector<int> positions;
};

// A table of `rows` keys counted up in digits and capitals, as the host
// makes them, and some filler so that it spans many pages.
class PartedPassTest : public ::testing::Test {
 protected:
  void Fill(int rows) {
    session_.Open(TestConnectionString(Backend::Sqlite, folder_.Path() / "host.db"));
    session_.ExecuteNoRecords(
        "CREATE TABLE RECORDS (RECORD_KEY CHAR(16) NOT NULL PRIMARY KEY, WANTED BIT NOT NULL, "
        "FILLER TEXT) WITHOUT ROWID");
    if (rows == 0) return;
    session_.ExecuteNoRecords(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(rows) +
        ") INSERT INTO RECORDS SELECT 'VLMTEST1' || printf('%08d', i), i % 5 <> 0, "
        "hex(randomblob(20)) FROM n");
  }

  // A pass through the session and a reader beside it, on one state.
  void Read(const PartedPass& pass, RecordedProgress& progress, int from, int to) {
    const std::unique_ptr<HeldState> state = session_.Streaming()->HoldState();
    ReadInParts(session_, *session_.Streaming(), state->Beside(), pass, progress, from, to);
  }

  PartedPass Pass(std::function<void(int, int, const StreamedRow&)> read) {
    return {.table = {"RECORDS", "RECORD_KEY"},
            .sql =
                [](const std::string& range) {
                  return "SELECT RECORD_KEY FROM RECORDS WHERE WANTED = 1" + range +
                         " ORDER BY RECORD_KEY COLLATE BINARY";
                },
            .keyColumn = 0,
            .read = std::move(read),
            .done = [this](int worker) { done_[worker] = true; }};
  }

  TempFolder folder_;
  DatabaseSession session_;
  bool done_[kPassWorkers] = {false, false};
};

TEST_F(PartedPassTest, ReadsEveryRowOnceInKeyOrderPerWorkerAndPart) {
  // Enough rows for the bar to move on the way.
  Fill(200000);
  std::vector<std::string> byPart[kPassParts];
  std::vector<std::string> byWorker[kPassWorkers];
  int lastPart[kPassWorkers] = {-1, -1};
  std::mutex parts;
  RecordedProgress progress;
  Read(Pass([&](int worker, int part, const StreamedRow& row) {
         // Only the calling thread's worker moves the bar: the other one is held
         // back, so that the calling thread reads most rows however the two
         // are scheduled.
         if (worker == 1 && byWorker[1].size() % 100 == 0) {
           std::this_thread::sleep_for(std::chrono::milliseconds(1));
         }
         const std::string key(row.Text(0));
         EXPECT_GE(part, lastPart[worker]) << "a worker's parts ascend";
         lastPart[worker] = part;
         if (!byWorker[worker].empty()) {
           EXPECT_LT(byWorker[worker].back(), key);
         }
         byWorker[worker].push_back(key);
         const std::lock_guard lock(parts);
         byPart[part].push_back(key);
       }),
       progress, 25, 50);
  std::vector<std::string> all;
  for (const auto& part : byPart) all.insert(all.end(), part.begin(), part.end());
  ASSERT_EQ(all.size(), 160000U);
  EXPECT_TRUE(std::ranges::is_sorted(all)) << "the parts follow one another";
  EXPECT_EQ(std::ranges::adjacent_find(all), all.end());
  EXPECT_TRUE(done_[0] && done_[1]);
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()))
      << "the bar never goes back";
  for (const int position : progress.positions) {
    EXPECT_TRUE(position >= 25 && position <= 50) << position;
  }
}

TEST_F(PartedPassTest, AnEmptyTableIsReadWithoutRows) {
  Fill(0);
  int rows = 0;
  RecordedProgress progress;
  Read(Pass([&](int, int, const StreamedRow&) { ++rows; }), progress, 0, 25);
  EXPECT_EQ(rows, 0);
  EXPECT_TRUE(done_[0] && done_[1]);
}

// Whichever worker meets the failing row, the pass ends with its error and
// neither worker is done.
TEST_F(PartedPassTest, TheFailureOfEitherWorkerEndsThePass) {
  Fill(20000);
  for (const char* failing : {"VLMTEST100000001", "VLMTEST100019999"}) {
    done_[0] = done_[1] = false;
    RecordedProgress progress;
    EXPECT_THROW(Read(Pass([&](int, int, const StreamedRow& row) {
                        if (row.Text(0) == failing) throw std::runtime_error(failing);
                      }),
                      progress, 0, 25),
                 std::runtime_error)
        << failing;
    EXPECT_FALSE(done_[0] && done_[1]) << failing;
  }
  RecordedProgress progress;
  EXPECT_THROW(Read({.table = {"NO_SUCH_TABLE", "RECORD_KEY"}, .sql = {}, .read = {}, .done = {}},
                    progress, 0, 25),
               DatabaseError);
}

}  // namespace
}  // namespace velmora
