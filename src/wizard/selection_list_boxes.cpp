#include "wizard/selection_list_boxes.h"

#include <QApplication>
#include <set>
#include <vector>

#include "count/selection_lists.h"
#include "wizard/ShowImage.h"

namespace velmora {
namespace {

// The hourglass while the database answers; the cursor before it comes back
// however the loading ends.
class HourglassCursor {
 public:
  HourglassCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~HourglassCursor() { QApplication::restoreOverrideCursor(); }
  HourglassCursor(const HourglassCursor&) = delete;
  HourglassCursor& operator=(const HourglassCursor&) = delete;
};

void Fill(CheckListBox& list, DatabaseSession& session,
          void (*load)(DatabaseSession&, const AppendSelectionItem&)) {
  const HourglassCursor hourglass;
  load(session, [&list](SelectionItem item) {
    list.AddItem(QString::fromStdString(item.name), TIDStore{std::move(item.key)});
  });
}

void CheckAll(CheckListBox& list, bool checked) {
  for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, checked);
}

void CheckStored(CheckListBox& list, const TickedKeys& stored) {
  if (!stored) return CheckAll(list, true);
  const std::set<std::string> keys(stored->begin(), stored->end());
  for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, keys.contains(list.Store(i).ID));
}

}  // namespace

std::string CheckedKeyList(const CheckListBox& list) {
  std::vector<CheckedKey> keys;
  keys.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) keys.push_back({list.Store(i).ID, list.Checked(i)});
  return CheckedKeyList(keys);
}

std::vector<std::string> CheckedKeys(const CheckListBox& list) {
  std::vector<std::string> keys;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Checked(i)) keys.push_back(list.Store(i).ID);
  }
  return keys;
}

void TdlgMTBWizard::TickStoredSelections() {
  CheckStored(clbTaxonGroups, read_.taxonGroups);
  CheckStored(ClbSurveys, read_.surveys);
  listsTicked_ = true;
}

void TdlgMTBWizard::LoadTaxonGroups() { Fill(clbTaxonGroups, Session(), velmora::LoadTaxonGroups); }

void TdlgMTBWizard::LoadSurveys() { Fill(ClbSurveys, Session(), velmora::LoadSurveys); }

void TdlgMTBWizard::btAllTaxonGroupsClick() { CheckAll(clbTaxonGroups, true); }

void TdlgMTBWizard::btNoTaxonGroupClick() { CheckAll(clbTaxonGroups, false); }

void TdlgMTBWizard::BtAllSurveysClick() { CheckAll(ClbSurveys, true); }

void TdlgMTBWizard::BtNoSurveyClick() { CheckAll(ClbSurveys, false); }

}  // namespace velmora
