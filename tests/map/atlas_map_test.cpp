// What an atlas's maps and data say of a taxon: the period of a cell's latest
// record and its label, and the rows of its data.
#include <gtest/gtest.h>

#include "map/atlas_csv.h"
#include "map/atlas_map.h"

namespace velmora {
namespace {

TEST(AtlasPeriods, TellEachYearItsPeriodAndLabelThePeriods) {
  const AtlasPeriods periods({1950, 1980, 2000});
  EXPECT_EQ(periods.Size(), 4);
  const struct {
    int year;
    int period;
  } years[] = {{1, 0}, {1949, 0}, {1950, 1}, {1979, 1}, {1980, 2}, {1999, 2}, {2000, 3}, {9999, 3}};
  for (const auto& y : years) EXPECT_EQ(periods.Of(y.year), y.period) << y.year;
  EXPECT_EQ(periods.Label(0), "bis 1949");
  EXPECT_EQ(periods.Label(1), "1950–1979");
  EXPECT_EQ(periods.Label(2), "1980–1999");
  EXPECT_EQ(periods.Label(3), "ab 2000");
  const AtlasPeriods one({2000});
  EXPECT_EQ(one.Label(0), "bis 1999");
  EXPECT_EQ(one.Label(1), "ab 2000");
}

TEST(AtlasCsv, QuotesWhatWouldBreakAFieldAndLeavesUnknownYearsEmpty) {
  MapState map;
  map.CellColumns = 2;
  map.CellRows = 1;
  map.Grids = {{{"6508/1", ""}, {"6508/2", ""}}};
  const AtlasTaxon taxa[] = {
      {"K1", "Carex \"nigra\", s. str.", "G1", {{1, 3, 1990, 2004}}},
      {std::nullopt, "line\nbreak", "G,2", {{0, 1, std::nullopt, std::nullopt}}},
  };
  EXPECT_EQ(AtlasCsv(taxa, map),
            "taxon_key,taxon_name,group_key,code,records,first_year,last_year\n"
            "K1,\"Carex \"\"nigra\"\", s. str.\",G1,6508/2,3,1990,2004\n"
            ",\"line\nbreak\",\"G,2\",6508/1,1,,\n");
}

}  // namespace
}  // namespace velmora
