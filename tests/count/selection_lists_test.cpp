// The taxon group and survey lists: loaded from the host, turned into the key
// lists the count puts after IN.
#include "count/selection_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host_fixture.h"

namespace velmora {
namespace {

using testing::HostFixture;

TEST(SelectionLists, LoadInQueryOrderByColumnPosition) {
  HostFixture host;
  host.AddTaxonGroup("G2", "Vögel", 2);
  host.AddTaxonGroup("G1", "Gefäßpflanzen", 1);
  host.AddTaxonGroup("G3", "Vögel", 3);
  host.AddSurvey("SURVEY00", "Atlas");
  std::vector<std::pair<std::string, std::string>> groups, surveys;
  LoadTaxonGroups(host.Session(), [&](SelectionItem i) { groups.emplace_back(i.name, i.key); });
  LoadSurveys(host.Session(), [&](SelectionItem i) { surveys.emplace_back(i.name, i.key); });
  EXPECT_EQ(groups, (std::vector<std::pair<std::string, std::string>>{
                        {"Gefäßpflanzen", "G1"}, {"Vögel", "G2"}, {"Vögel", "G3"}}));
  EXPECT_EQ(surveys, (std::vector<std::pair<std::string, std::string>>{
                         {"Atlas", "SURVEY00"}, {"Kartierung", "SURVEY01"}}));
}

TEST(CheckedKeyList, QuotesCheckedKeysInListOrder) {
  const std::vector<CheckedKey> none = {{"K1", false}, {"K2", false}};
  EXPECT_EQ(CheckedKeyList(none), "'no data'");
  EXPECT_EQ(CheckedKeyList({}), "'no data'");
  const std::vector<CheckedKey> some = {{"K1", true}, {"K2", false}, {"K3", true}};
  EXPECT_EQ(CheckedKeyList(some), "'K1','K3'");
}

TEST(CheckedKeyList, DoublesApostrophesSoNoKeyCanChangeTheStatement) {
  const std::vector<CheckedKey> keys = {{"O'BRIEN", true}, {"') OR 1=1 --", true}};
  EXPECT_EQ(CheckedKeyList(keys), "'O''BRIEN',''') OR 1=1 --'");
}

}  // namespace
}  // namespace velmora
