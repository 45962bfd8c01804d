// The taxon group and survey lists of the settings page: filled from the
// database at start-up, checked by the user, read as key lists by a count run.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "session_connector.h"
#include "wizard/lifecycle.h"
#include "wizard/selection_list_boxes.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

std::vector<std::string> Items(const CheckListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) {
    items.push_back(list.ItemText(i).toStdString() + " = " + list.Store(i).ID +
                    (list.Checked(i) ? " checked" : ""));
  }
  return items;
}

class WizardLists : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(SettingsFilePath());
    host.AddTaxonGroup("G-MOSS", "Moose", 3);
    host.AddTaxonGroup("G-FERN", "Farne", 1);
    host.AddTaxonGroup("G-FERN2", "Farne", 2);
    host.AddSurvey("S-B", "Brutvögel");
    host.AddSurvey("S-A", "Amphibien");
  }

  std::unique_ptr<TdlgMTBWizard> Open() {
    return CreateWizard(std::make_unique<testing::SessionConnector>(host.ConnectionString()));
  }

  testing::HostFixture host;
  RecordingMessageSink messages;
};

TEST_F(WizardLists, StartUpFillsBothListsInQueryOrderWithTheKeysAndNothingChecked) {
  const auto wizard = Open();
  EXPECT_EQ(Items(wizard->clbTaxonGroups),
            (std::vector<std::string>{"Farne = G-FERN", "Farne = G-FERN2", "Moose = G-MOSS"}));
  // The fixture's own survey "Kartierung" sorts between the two.
  EXPECT_EQ(
      Items(wizard->ClbSurveys),
      (std::vector<std::string>{"Amphibien = S-A", "Brutvögel = S-B", "Kartierung = SURVEY01"}));
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'no data'");
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'no data'");
}

TEST_F(WizardLists, TheKeyListFollowsTheListOrderNotTheOrderOfChecking) {
  const auto wizard = Open();
  wizard->clbTaxonGroups.SetChecked(2, true);
  wizard->clbTaxonGroups.SetChecked(1, true);
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'G-FERN2','G-MOSS'")
      << "of two groups of one name only the checked one's key";

  QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'S-A','S-B','SURVEY01'");
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'no data'");
}

TEST_F(WizardLists, TheHourglassShowsWhileLoadingAndGoesAlsoWhenAQueryFails) {
  const auto wizard = Open();
  std::vector<Qt::CursorShape> seen;
  QObject::connect(wizard->ClbSurveys.model(), &QAbstractItemModel::rowsInserted, [&] {
    const QCursor* cursor = QApplication::overrideCursor();
    seen.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
  });
  wizard->LoadSurveys();
  EXPECT_EQ(seen, std::vector<Qt::CursorShape>(3, Qt::WaitCursor));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(wizard->ClbSurveys.Count(), 6) << "loading appends to what the list holds";

  wizard->Session().ExecuteNoRecords("DROP TABLE TAXON_GROUP");
  EXPECT_THROW(wizard->LoadTaxonGroups(), DatabaseError);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(wizard->clbTaxonGroups.Count(), 3) << "the items read before stay";
}

TEST_F(WizardLists, EmptyTablesGiveEmptyListsThatAllAndNoneLeaveAlone) {
  host.Session().ExecuteNoRecords("DELETE FROM TAXON_GROUP");
  const auto wizard = Open();
  EXPECT_EQ(wizard->clbTaxonGroups.Count(), 0);
  QTest::mouseClick(&wizard->btAllTaxonGroups, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'no data'");
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(WizardLists, AListThatCannotBeReadStopsTheStart) {
  host.Session().ExecuteNoRecords("DROP TABLE SURVEY");
  EXPECT_THROW(Open(), DatabaseError);
}

}  // namespace
}  // namespace velmora
