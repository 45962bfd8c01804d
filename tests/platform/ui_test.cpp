#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "platform/ui/check_list_box.h"
#include "platform/ui/page_control.h"
#include "platform/ui/radio_group.h"
#include "platform/ui/scroll_box.h"

namespace velmora {
namespace {

TEST(RadioGroup, HoldsOneSelectedItemOrNoneAndSignalsOnlyTheUsersClicks) {
  RadioGroup group("Rastertyp", {"a", "b", "c"}, nullptr);
  QSignalSpy clicks(&group, &RadioGroup::clicked);
  EXPECT_EQ(group.ItemIndex(), -1);
  group.SetItemIndex(2);
  EXPECT_EQ(group.ItemIndex(), 2);
  group.SetItemIndex(-1);
  EXPECT_EQ(group.ItemIndex(), -1);
  group.SetItemIndex(1);
  group.SetItemIndex(3);
  EXPECT_EQ(group.ItemIndex(), -1) << "an index beyond the items selects none";
  EXPECT_EQ(clicks.count(), 0);

  group.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
  // A radio button takes clicks on its circle and its caption only.
  const auto onCircle = [&](int i) { return QPoint(8, group.Button(i).height() / 2); };
  QTest::mouseClick(&group.Button(0), Qt::LeftButton, {}, onCircle(0));
  EXPECT_EQ(group.ItemIndex(), 0);
  EXPECT_EQ(clicks.count(), 1);
  group.SetItemEnabled(1, false);
  QTest::mouseClick(&group.Button(1), Qt::LeftButton, {}, onCircle(1));
  EXPECT_EQ(group.ItemIndex(), 0) << "a disabled item cannot be chosen";
}

TEST(RadioGroup, SharesItsHeightBelowTheCaptionEvenly) {
  RadioGroup group("Rastertyp", {"1", "2", "3", "4", "5"}, nullptr);
  group.setGeometry(0, 0, 137, 137);
  group.show();  // a hidden widget learns of its new size when it is shown
  const int line = group.fontMetrics().height();
  const int usable = 137 - line - 5;
  const int height = usable / 5;
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(group.Button(i).geometry(),
              QRect(4, line + 1 + (usable % 5) / 2 + i * height, 127, height));
  }
}

TEST(CheckListBox, KeepsEachItemsKeyBesideItsTextInTheOrderAdded) {
  CheckListBox list(nullptr);
  list.AddItem("Gefäßpflanzen", {"K2"});
  list.AddItem("Gefäßpflanzen", {"K1"});
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.ItemText(0), "Gefäßpflanzen");
  EXPECT_EQ(list.Store(0).ID, "K2");
  EXPECT_EQ(list.Store(1).ID, "K1");
  EXPECT_FALSE(list.Checked(0));
  list.SetChecked(1, true);
  EXPECT_FALSE(list.Checked(0));
  EXPECT_TRUE(list.Checked(1));
}

TEST(PageControl, ARefusedChangeLeavesThePageAndAnAllowedOneSignalsChange) {
  PageControl pages(nullptr);
  QWidget first;
  QWidget second;
  pages.addTab(&first, "Karte");
  pages.addTab(&second, "Einstellungen");
  pages.show();
  bool allow = false;
  int asked = 0;
  QObject::connect(&pages, &PageControl::changing, [&](bool& allowChange) {
    ++asked;
    allowChange = allow;
  });
  QSignalSpy changed(&pages, &PageControl::change);
  QTabBar& bar = *pages.tabBar();

  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
  EXPECT_EQ(pages.currentIndex(), 0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(changed.count(), 0);

  allow = true;
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
  EXPECT_EQ(pages.currentIndex(), 1);
  EXPECT_EQ(changed.count(), 1);

  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
  EXPECT_EQ(asked, 2) << "a click on the current tab is no change";

  pages.SetActivePageIndex(0);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(changed.count(), 1);
}

TEST(ScrollBox, ItsClientReachesTheFurthestVisibleControl) {
  ScrollBox box(nullptr);
  box.resize(200, 100);
  box.show();  // hidden controls report their moves only once shown
  QWidget near(&box.Client());
  QWidget far(&box.Client());
  near.setGeometry(0, 0, 50, 50);
  far.setGeometry(10, 20, 300, 400);
  near.show();
  far.show();
  EXPECT_EQ(box.Client().size(), QSize(310, 420));
  far.hide();
  EXPECT_EQ(box.Client().size(), QSize(50, 50));
}

}  // namespace
}  // namespace velmora
