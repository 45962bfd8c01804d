#pragma once

#include <optional>
#include <string>

#include "platform/db/database_session.h"
#include "support/temp_folder.h"
#include "test_database.h"

namespace velmora::testing {

// The quality flags of one taxon occurrence and its determination.
struct Record {
  bool confidential = false;
  bool zeroAbundance = false;
  bool checked = true;
  bool preferred = true;
  // A second preferred determination of the same occurrence, as a data error
  // may leave one.
  std::optional<std::string> alsoDeterminedAs{};
};

// A host database with just the tables and columns a count reads, filled row by
// row by the test, on an open session.
class HostFixture {
 public:
  explicit HostFixture(Backend backend = Backend::Sqlite);

  DatabaseSession& Session() { return session_; }
  // Opens the same database on another session.
  const std::string& ConnectionString() const { return connectionString_; }

  void AddTaxonGroup(const std::string& key, const std::string& name, int sortOrder);
  void AddSurvey(const std::string& key, const std::string& name);
  // A taxon-list item of the group; `recommended` is the item its name points
  // to (itself when empty).
  void AddTaxon(const std::string& item, const std::string& group,
                const std::string& recommended = "");
  // A sample in the first survey's event unless another survey is named.
  void AddSample(const std::string& key, std::optional<double> latitude,
                 std::optional<double> longitude, std::optional<std::string> system = "LTLN",
                 std::optional<std::string> reference = std::nullopt,
                 const std::string& survey = "SURVEY01");
  // The sample's vague date as host day numbers; NULL where not given.
  void DateSample(const std::string& key, std::optional<int> start, std::optional<int> end);
  void AddRecord(const std::string& sample, const std::string& taxonItem, Record record = {});

 private:
  void Execute(const std::string& sql);

  TempFolder folder_;
  std::string connectionString_;
  DatabaseSession session_;
  int nextKey_ = 0;
};

// The WGS84 position of the centre of a minute field: row rho (0-5, from the
// north) and column kappa (0-9, from the west) of the sheet. Close enough to
// the grid frame that the point stays in its field.
struct Point {
  double latitude;
  double longitude;
};
Point MinuteFieldCentre(int sheetRow, int sheetColumn, int rho, int kappa);

}  // namespace velmora::testing
