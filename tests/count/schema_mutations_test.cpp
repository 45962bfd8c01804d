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
#include "count/host_schema.h"
#include "count/selection_lists.h"
#include "count/streamed/streamable.h"
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

// The columns of the host's tables that hold keys, each table's own key first.
const std::map<std::string, std::vector<std::string>> kKeyColumns = {
    {"SAMPLE", {"SAMPLE_KEY", "SURVEY_EVENT_KEY"}},
    {"SURVEY_EVENT", {"SURVEY_EVENT_KEY", "SURVEY_KEY"}},
    {"SURVEY", {"SURVEY_KEY"}},
    {"TAXON_OCCURRENCE", {"TAXON_OCCURRENCE_KEY", "SAMPLE_KEY"}},
    {"TAXON_DETERMINATION",
     {"TAXON_DETERMINATION_KEY", "TAXON_OCCURRENCE_KEY", "TAXON_LIST_ITEM_KEY"}},
    {"INDEX_TAXON_NAME", {"TAXON_LIST_ITEM_KEY", "RECOMMENDED_TAXON_LIST_ITEM_KEY"}},
    {"TAXON_LIST_ITEM", {"TAXON_LIST_ITEM_KEY", "TAXON_VERSION_KEY"}},
    {"TAXON_VERSION", {"TAXON_VERSION_KEY", "OUTPUT_GROUP_KEY"}},
    {"TAXON_GROUP", {"TAXON_GROUP_KEY"}},
};

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

// A change of a key column of a table, told whether it is the table's own key.
using KeyChange = std::function<Column(const std::string& table, const std::string& name,
                                       const std::string& type, bool own)>;

void ChangeKeys(DatabaseSession& db, const KeyChange& change) {
  for (const auto& [table, keys] : kKeyColumns) {
    Rebuild(db, table, [&](const std::string& name, const std::string& type) {
      const auto key = std::ranges::find(keys, name);
      return key == keys.end() ? Unchanged(name, type)
                               : change(table, name, type, key == keys.begin());
    });
  }
}

// The keys as BLOBs of their bytes, where `which` says so.
void BlobKeys(DatabaseSession& db,
              const std::function<bool(const std::string& table, const std::string& name)>& which) {
  ChangeKeys(db, [&](const std::string& table, const std::string& name, const std::string& type,
                     bool) {
    return which(table, name) ? Column{type, "CAST(" + name + " AS BLOB)"} : Unchanged(name, type);
  });
}

// Every key as a number, numbered in the order of the texts, so that "10"
// comes before "9" as texts but not as numbers.
void IntegerKeys(DatabaseSession& db) {
  std::string all;
  for (const auto& [table, keys] : kKeyColumns) {
    for (const std::string& key : keys) {
      all += (all.empty() ? "SELECT " : " UNION SELECT ") + key + " AS k FROM " + table;
    }
  }
  db.ExecuteNoRecords("CREATE TEMP TABLE number_of (k PRIMARY KEY, n INTEGER)");
  db.ExecuteNoRecords("INSERT INTO number_of SELECT k, row_number() OVER (ORDER BY k) FROM (" +
                      all + ") WHERE k IS NOT NULL");
  ChangeKeys(db, [](const std::string&, const std::string& name, const std::string&, bool) {
    return Column{"INTEGER", "(SELECT n FROM number_of WHERE k = " + name + ")"};
  });
}

void SampleColumnAsBlob(DatabaseSession& db, const std::string& column) {
  Rebuild(db, "SAMPLE", [&](const std::string& name, const std::string& type) {
    return name == column ? Column{type, "CAST(" + name + " AS BLOB)"} : Unchanged(name, type);
  });
}

constexpr const char* kFirstPlacedSample = "(SELECT min(rowid) FROM SAMPLE WHERE LAT IS NOT NULL)";

struct Mutation {
  const char* name;
  std::function<void(DatabaseSession&)> apply;
  // A part of the message both roads refuse the database with; none where
  // they count it.
  const char* refusal = nullptr;
  // The figures of the changed rows; else those of the unchanged database.
  bool newFigures = false;
};

const Mutation kMutations[] = {
    {"keys declared INTEGER", IntegerKeys},
    {"keys stored as BLOBs but the samples' keys",
     [](DatabaseSession& db) {
       BlobKeys(db,
                [](const std::string&, const std::string& name) { return name != "SAMPLE_KEY"; });
     }},
    {"keys stored as BLOBs",
     [](DatabaseSession& db) {
       BlobKeys(db, [](const std::string&, const std::string&) { return true; });
     },
     "SAMPLE.SAMPLE_KEY holds keys stored as BLOBs"},
    {"one of two joined keys stored as a BLOB",
     [](DatabaseSession& db) {
       BlobKeys(db, [](const std::string& table, const std::string& name) {
         return table == "TAXON_DETERMINATION" && name == "TAXON_LIST_ITEM_KEY";
       });
     },
     "taxon_determination.TAXON_LIST_ITEM_KEY holds keys stored as BLOBs where "
     "INDEX_TAXON_NAME.TAXON_LIST_ITEM_KEY"},
    {"keys compared without case, the references in lower case",
     [](DatabaseSession& db) {
       ChangeKeys(
           db, [](const std::string&, const std::string& name, const std::string& type, bool own) {
             return Column{type + " COLLATE NOCASE", own ? name : "lower(" + name + ")"};
           });
     }},
    {"determinations without a key",
     [](DatabaseSession& db) {
       Rebuild(db, "TAXON_DETERMINATION", Unchanged, false);
       db.ExecuteNoRecords(
           "UPDATE TAXON_DETERMINATION SET TAXON_DETERMINATION_KEY = NULL WHERE rowid % 3 = 0");
     }},
    {"occurrence keys twice, in other samples",
     [](DatabaseSession& db) {
       Rebuild(db, "TAXON_OCCURRENCE", Unchanged, false);
       db.ExecuteNoRecords(
           "INSERT INTO TAXON_OCCURRENCE SELECT o.TAXON_OCCURRENCE_KEY, (SELECT s.SAMPLE_KEY "
           "FROM SAMPLE s WHERE s.SAMPLE_KEY > o.SAMPLE_KEY ORDER BY s.SAMPLE_KEY LIMIT 1 "
           "OFFSET 7), o.ZERO_ABUNDANCE, o.CONFIDENTIAL, o.CHECKED, o.VERIFIED FROM "
           "TAXON_OCCURRENCE o WHERE o.rowid % 4 = 0");
     },
     nullptr, true},
    {"LAT stored as a BLOB", [](DatabaseSession& db) { SampleColumnAsBlob(db, "LAT"); }},
    {"SPATIAL_REF stored as a BLOB",
     [](DatabaseSession& db) { SampleColumnAsBlob(db, "SPATIAL_REF"); }},
    {"SPATIAL_REF_SYSTEM stored as a BLOB",
     [](DatabaseSession& db) { SampleColumnAsBlob(db, "SPATIAL_REF_SYSTEM"); }},
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
    {"no table SAMPLE", [](DatabaseSession& db) { db.ExecuteNoRecords("DROP TABLE SAMPLE"); },
     "no such table: SAMPLE"},
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
  {
    DatabaseSession db;
    db.Open(testing::TestConnectionString(Backend::Sqlite, Base()));
    ASSERT_TRUE(Streamable(db, *db.Streaming(), CheckHostDatabase(db)))
        << "the host's own tables are streamed";
  }
  int n = 0;
  for (const Mutation& mutation : kMutations) {
    const std::filesystem::path path = folder_->Path() / ("mutation" + std::to_string(++n) + ".db");
    std::filesystem::copy_file(Base(), path);
    std::vector<CellCount> expected = baseFigures_;
    {
      DatabaseSession db;
      db.Open(testing::TestConnectionString(Backend::Sqlite, path));
      // A test database need not survive a power cut.
      db.ExecuteNoRecords("PRAGMA synchronous = OFF");
      mutation.apply(db);
      if (mutation.newFigures) {
        expected = Expected(db);
        EXPECT_NE(expected, baseFigures_) << mutation.name;
      }
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
