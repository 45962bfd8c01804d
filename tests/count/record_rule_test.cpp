// Which records count is said twice, as the statements' selection and as the
// streamed road's reading: records that each miss one part of the rule, each in
// a minute field of its own, counted on both roads.
#include "count/record_rule.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "count/count_run.h"
#include "grid/geodll32.h"
#include "host_fixture.h"

namespace velmora {
namespace {

using testing::Backend;
using testing::HostFixture;
using testing::Record;

class NullProgress final : public ProgressSink {
 public:
  void SetProgressText(const std::string&) override {}
  void SetProgressPosition(int) override {}
};

class RecordRule : public ::testing::TestWithParam<Backend> {
 protected:
  static void SetUpTestSuite() { LoadGeodeticLibrary(); }
};

TEST_P(RecordRule, BothRoadsCountOnlyTheRecordsThatMeetEveryPart) {
  const struct {
    const char* name;
    Record record = {};
    const char* item = "BIRD";
    const char* survey = "SURVEY01";
    int year = 2005;
  } records[] = {
      {"meets every part"},
      {"a synonym, counted under its recommended taxon", {}, "BIRDSYN"},
      {"confidential", {.confidential = true}},
      {"of zero abundance", {.zeroAbundance = true}},
      {"not checked", {.checked = false}},
      {"only a determination that is not preferred", {.preferred = false}},
      {"of a taxon group not chosen", {}, "DRAGONFLY"},
      {"of an item without an index row", {}, "UNKNOWN"},
      {"of a survey not chosen", {}, "BIRD", "SURVEY02"},
      {"dated before the years", {}, "BIRD", "SURVEY01", 1990},
  };
  HostFixture host(GetParam());
  host.AddTaxonGroup("G1", "Vögel", 1);
  host.AddTaxonGroup("G2", "Libellen", 2);
  host.AddSurvey("SURVEY02", "Atlas");
  host.AddTaxon("BIRD", "G1");
  host.AddTaxon("BIRDSYN", "G1", "BIRD");
  host.AddTaxon("DRAGONFLY", "G2");
  MapState map;
  BuildCellList({4, 0, Extent::Read("6508", "6508"), ""}, map);
  std::map<std::string, std::string> nameOfCell;
  for (int i = 0; i < static_cast<int>(std::size(records)); ++i) {
    const std::string sample = "S" + std::to_string(i);
    const testing::Point p = testing::MinuteFieldCentre(65, 8, 0, i);
    host.AddSample(sample, p.latitude, p.longitude, "LTLN", std::nullopt, records[i].survey);
    host.DateSample(sample, FirstDayOfYear(records[i].year), LastDayOfYear(records[i].year));
    host.AddRecord(sample, records[i].item, records[i].record);
    nameOfCell[map.Grids[0][i].Code] = records[i].name;
  }

  NullProgress progress;
  const CountResult result = CountDatabase(host.Session(), map,
                                           {.gridType = &kGridTypes[4],
                                            .taxonGroupKeys = "'G1'",
                                            .surveyKeys = "'SURVEY01'",
                                            .years = {.from = 2000}},
                                           progress);
  std::set<std::string> counted;
  for (const CellCount& cell : result.cells) counted.insert(nameOfCell[cell.code]);
  EXPECT_EQ(counted, (std::set<std::string>{records[0].name, records[1].name}));
}

INSTANTIATE_TEST_SUITE_P(Roads, RecordRule, ::testing::Values(Backend::Sqlite, Backend::Odbc),
                         [](const auto& row) {
                           return row.param == Backend::Sqlite ? "Streamed" : "Statements";
                         });

}  // namespace
}  // namespace velmora
