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
#include "support/file_bytes.h"
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

// Without ticks kept in the settings file, as on the first start, every item
// is ticked, so that the first count counts everything.
TEST_F(WizardLists, StartUpFillsBothListsInQueryOrderWithTheKeysAndEverythingTicked) {
  const auto wizard = Open();
  EXPECT_EQ(Items(wizard->clbTaxonGroups),
            (std::vector<std::string>{"Farne = G-FERN checked", "Farne = G-FERN2 checked",
                                      "Moose = G-MOSS checked"}));
  // The fixture's own survey "Kartierung" sorts between the two.
  EXPECT_EQ(Items(wizard->ClbSurveys),
            (std::vector<std::string>{"Amphibien = S-A checked", "Brutvögel = S-B checked",
                                      "Kartierung = SURVEY01 checked"}));
}

TEST_F(WizardLists, TheKeyListFollowsTheListOrderNotTheOrderOfChecking) {
  const auto wizard = Open();
  QTest::mouseClick(&wizard->btNoTaxonGroup, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'no data'");
  wizard->clbTaxonGroups.SetChecked(2, true);
  wizard->clbTaxonGroups.SetChecked(1, true);
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'G-FERN2','G-MOSS'")
      << "of two groups of one name only the checked one's key";

  QTest::mouseClick(&wizard->BtAllSurveys, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'S-A','S-B','SURVEY01'");
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'no data'");
}

// Ticks the items of a list by keyboard, as a user does: the item made
// current, then Space.
void ToggleByKeyboard(CheckListBox& list, std::initializer_list<int> rows) {
  for (const int row : rows) {
    list.setCurrentRow(row);
    QTest::keyClick(&list, Qt::Key_Space);
  }
}

// The ticks go into the settings file when the dialog closes and come back at
// the next opening: a count then counts what was chosen before.
TEST_F(WizardLists, TheTicksAreKeptFromOneOpeningToTheNext) {
  auto wizard = Open();
  wizard->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
  wizard->pcWizard.RequestPage(1);
  QTest::mouseClick(&wizard->btNoTaxonGroup, Qt::LeftButton);
  ToggleByKeyboard(wizard->clbTaxonGroups, {2, 1});
  ToggleByKeyboard(wizard->ClbSurveys, {0});
  EXPECT_EQ(CheckedKeyList(wizard->clbTaxonGroups), "'G-FERN2','G-MOSS'");
  DestroyWizard(std::move(wizard));
  const std::string file = testing::ReadFileBytes(SettingsFilePath());
  EXPECT_NE(file.find("\r\nclbTaxonGroups=G-FERN2,G-MOSS\r\nClbSurveys=S-B,SURVEY01\r\n"),
            std::string::npos)
      << file;

  // A group new in the database stays unticked; a stored key the database
  // has no more is passed over.
  host.AddTaxonGroup("G-ALGE", "Algen", 0);
  host.Session().ExecuteNoRecords("DELETE FROM TAXON_GROUP WHERE TAXON_GROUP_KEY = 'G-MOSS'");
  wizard = Open();
  EXPECT_EQ(
      Items(wizard->clbTaxonGroups),
      (std::vector<std::string>{"Algen = G-ALGE", "Farne = G-FERN", "Farne = G-FERN2 checked"}));
  EXPECT_EQ(CheckedKeyList(wizard->ClbSurveys), "'S-B','SURVEY01'");

  // Nothing ticked is kept as such.
  QTest::mouseClick(&wizard->BtNoSurvey, Qt::LeftButton);
  DestroyWizard(std::move(wizard));
  EXPECT_EQ(CheckedKeyList(Open()->ClbSurveys), "'no data'");
}

// Until the lists are filled, the ticks the file keeps are written back as
// they were read: a start that fails loses none.
TEST_F(WizardLists, AFailedStartKeepsTheStoredTicks) {
  std::filesystem::create_directories(VelmoraFolderPath());
  testing::WriteFileBytes(SettingsFilePath(), "clbTaxonGroups=G-MOSS,A%2CB\r\nClbSurveys=\r\n");
  host.Session().ExecuteNoRecords("DROP TABLE SURVEY");
  EXPECT_THROW(Open(), DatabaseError);
  const std::string file = testing::ReadFileBytes(SettingsFilePath());
  EXPECT_NE(file.find("\r\nclbTaxonGroups=G-MOSS,A%2CB\r\nClbSurveys=\r\n"), std::string::npos)
      << file;
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
