// Host databases whose tables are not quite as the host makes them, each
// counted through the embedded backend and through ODBC: both give the
// figures of the raw rows, or both refuse with a message that names what is
// wrong. Never a count that differs silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "count/count_run.h"
#include "count/selection_lists.h"
#include "demo/demo_database.h"
#include "grid/geodll32.h"
#include "platform/errors.h"
#include "raw_counts.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora {
namespace {

using testing::Backend;
using testing::ReadAll;

// A column as a table is made anew: its declaration and the expression its
// values come from.
struct Column {
  std::string type;
  std::string value;
};
using ColumnChange = std::function<Column(const std::string& name, const std::string& type)>;

// Makes the table anew, its first column the primary key or no key at all.
void Rebuild(DatabaseSession& db, const std::string& table, const ColumnChange& change,
             bool primaryKey = true) {
  std::string columns, values;
  for (const auto& c : ReadAll(db, "SELECT name, type FROM pragma_table_info('" + table + "')")) {
    const std::string name = VariantToText(c[0]);
    const Column column = change(name, VariantToText(c[1]));
    const bool key = primaryKey && columns.empty();
    columns +=
        (columns.empty() ? "" : ", ") + name + " " + column.type + (key ? " PRIMARY KEY" : "");
    values += (values.empty() ? "" : ", ") + column.value;
  }
  db.ExecuteNoRecords("CREATE TABLE NEW_" + table + " (" + columns + ")");
  db.ExecuteNoRecords("INSERT INTO NEW_" + table + " SELECT " + values + " FROM " + table);
  db.ExecuteNoRecords("DROP TABLE " + table);
  db.ExecuteNoRecords("ALTER TABLE NEW_" + table + " RENAME TO " + table);
}

Column Unchanged(const std::string& name, const std::string& type) { return {type, name}; }

constexpr const char* kFirstPlacedSample = "(SELECT min(rowid) FROM SAMPLE WHERE LAT IS NOT NULL)";

struct Mutation {
  const char* name;
  std::function<void(DatabaseSession&)> apply;
  // A part of the message both roads refuse the database with; none where
  // they count it.
  const char* refusal = nullptr;
};

const Mutation kMutations[] = {
    {"a sample without a key",
     [](DatabaseSession& db) {
       Rebuild(db, "SAMPLE", Unchanged, false);
       db.ExecuteNoRecords(std::string("UPDATE SAMPLE SET SAMPLE_KEY = NULL WHERE rowid = ") +
                           kFirstPlacedSample);
     },
     "The table SAMPLE holds a sample without a SAMPLE_KEY"},
    {"a sample key twice",
     [](DatabaseSession& db) {
       Rebuild(db, "SAMPLE", Unchanged, false);
       db.ExecuteNoRecords(std::string("INSERT INTO SAMPLE SELECT * FROM SAMPLE WHERE rowid = ") +
                           kFirstPlacedSample);
     },
     "The table SAMPLE holds the SAMPLE_KEY '"},
};

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

// Figures as a failing test shows them: "6508/11 5 5, 6509/21 8 9".
std::string Text(const std::vector<CellCount>& cells) {
  std::string text;
  for (const CellCount& cell : cells) {
    text += (text.empty() ? "" : ", ") + cell.code + " " + std::to_string(cell.taxa) + " " +
            std::to_string(cell.records.value_or(-1));
  }
  return text;
}

class SchemaMutations : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadGeodeticLibrary();
    folder_ = std::make_unique<testing::TempFolder>();
    demo::DemoOptions options;
    options.samples = 500;
    options.seed = 3;
    demo::WriteDemoDatabase(Base(), options);
    DatabaseSession db;
    db.Open(testing::TestConnectionString(Backend::Sqlite, Base()));
    baseFigures_ = Expected(db);
  }
  static void TearDownTestSuite() { folder_.reset(); }

  static std::filesystem::path Base() { return folder_->Path() / "base.db"; }

  // Quarter-quadrants, so that the grid references of QQQ samples count.
  static MapState Map() {
    MapState map;
    BuildCellList({2, 1, Extent::Read("6508", "6711"), ""}, map);
    return map;
  }

  // Every taxon group and survey, as the command line's "all" chooses them.
  static CountRunInputs Inputs(DatabaseSession& db) {
    CountRunInputs inputs{.gridType = &kGridTypes[2], .countRecords = true};
    std::vector<CheckedKey> groups, surveys;
    LoadTaxonGroups(db, [&](SelectionItem i) { groups.push_back({i.key, true}); });
    LoadSurveys(db, [&](SelectionItem i) { surveys.push_back({i.key, true}); });
    inputs.taxonGroupKeys = CheckedKeyList(groups);
    inputs.surveyKeys = CheckedKeyList(surveys);
    return inputs;
  }

  static std::vector<CellCount> Expected(DatabaseSession& db) {
    const MapState map = Map();
    std::set<std::string> groups, surveys;
    LoadTaxonGroups(db, [&](SelectionItem i) { groups.insert(i.key); });
    LoadSurveys(db, [&](SelectionItem i) { surveys.insert(i.key); });
    const auto figures = ExpectedFigures(testing::HostRecords(db), map, 2, groups, surveys);
    std::vector<CellCount> cells;
    for (const auto& row : map.Grids) {
      for (const TGrid& cell : row) {
        if (const auto found = figures.find(cell.Code); found != figures.end()) {
          cells.push_back(found->second);
        }
      }
    }
    return cells;
  }

  // The figures of a count as text, or the message it failed with.
  static std::string Count(Backend backend, const std::filesystem::path& path) {
    DatabaseSession db;
    db.Open(testing::TestConnectionString(backend, path));
    MapState map = Map();
    NullProgress progress;
    try {
      return Text(CountDatabase(db, map, Inputs(db), progress).cells);
    } catch (const Exception& e) {
      return std::string("refused: ") + e.what();
    }
  }

  static inline std::unique_ptr<testing::TempFolder> folder_;
  static inline std::vector<CellCount> baseFigures_;
};

TEST_F(SchemaMutations, BothRoadsCountTheRawRowsOrRefuseAlike) {
  ASSERT_GT(baseFigures_.size(), 20u);
  int n = 0;
  for (const Mutation& mutation : kMutations) {
    const std::filesystem::path path = folder_->Path() / ("mutation" + std::to_string(++n) + ".db");
    std::filesystem::copy_file(Base(), path);
    const std::vector<CellCount>& expected = baseFigures_;
    {
      DatabaseSession db;
      db.Open(testing::TestConnectionString(Backend::Sqlite, path));
      // A test database need not survive a power cut.
      db.ExecuteNoRecords("PRAGMA synchronous = OFF");
      mutation.apply(db);
    }
    for (const Backend backend : {Backend::Sqlite, Backend::Odbc}) {
      const char* road = backend == Backend::Sqlite ? "embedded" : "ODBC";
      const std::string outcome = Count(backend, path);
      if (mutation.refusal) {
        EXPECT_TRUE(outcome.starts_with("refused: ") &&
                    outcome.find(mutation.refusal) != std::string::npos)
            << mutation.name << " through " << road << ": " << outcome;
      } else {
        EXPECT_EQ(outcome, Text(expected)) << mutation.name << " through " << road;
      }
    }
  }
}

}  // namespace
}  // namespace velmora
