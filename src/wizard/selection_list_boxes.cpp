#include "wizard/selection_list_boxes.h"

#include <QApplication>
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

}  // namespace

std::string CheckedKeyList(const CheckListBox& list) {
  std::vector<CheckedKey> keys;
  keys.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) keys.push_back({list.Store(i).ID, list.Checked(i)});
  return CheckedKeyList(keys);
}

void TdlgMTBWizard::LoadTaxonGroups() { Fill(clbTaxonGroups, Session(), velmora::LoadTaxonGroups); }

void TdlgMTBWizard::LoadSurveys() { Fill(ClbSurveys, Session(), velmora::LoadSurveys); }

void TdlgMTBWizard::btAllTaxonGroupsClick() { CheckAll(clbTaxonGroups, true); }

void TdlgMTBWizard::btNoTaxonGroupClick() { CheckAll(clbTaxonGroups, false); }

void TdlgMTBWizard::BtAllSurveysClick() { CheckAll(ClbSurveys, true); }

void TdlgMTBWizard::BtNoSurveyClick() { CheckAll(ClbSurveys, false); }

}  // namespace velmora
