// "Datenbank auszählen": the dialog's part of a count run. The count and the
// values it writes into the map picture are the map's main job; the dialog
// gathers what its controls hold and reports the progress on its panel.
#include <QCoreApplication>
#include <chrono>

#include "grid/grid_types.h"
#include "map/map_job.h"
#include "platform/errors.h"
#include "wizard/ShowImage.h"
#include "wizard/error_display.h"
#include "wizard/selection_list_boxes.h"

namespace velmora {
namespace {

constexpr std::chrono::milliseconds kBarStep{50};

}  // namespace

void TdlgMTBWizard::SetProgressText(const std::string& text) {
  lblProgress.setText(QString::fromStdString(text));
  QCoreApplication::processEvents();
}

// Moving the bar repaints it at once, while the count holds the event loop,
// and costs as much as counting a few hundred records: a count of a hundred
// thousand samples would spend a tenth of its time on the bar. Between the
// start and the end of a stage the bar moves no more often than the eye can
// follow it.
void TdlgMTBWizard::SetProgressPosition(int percent) {
  const auto now = std::chrono::steady_clock::now();
  if (percent != 0 && percent != 100 && now - barMoved_ < kBarStep) return;
  barMoved_ = now;
  ProgressBar.setValue(percent);
}

void TdlgMTBWizard::btCountDatabaseClick() {
  // A count for no taxon group or no survey finds nothing: it would leave the
  // map as it is and say nothing.
  if (CheckedKeys(clbTaxonGroups).empty()) {
    throw Exception(
        "Bitte wählen Sie auf der Seite \"Einstellungen\" mindestens eine Sippengruppe aus");
  }
  if (CheckedKeys(ClbSurveys).empty()) {
    throw Exception("Bitte wählen Sie auf der Seite \"Einstellungen\" mindestens ein Projekt aus");
  }
  // The settings may have changed the cell list since the picture was drawn:
  // its values would then be written at the new list's places over the old
  // map, in cells that are not theirs.
  if (DrawnMapOf(Map) != drawn_) btDrawMapClick();
  Counting = true;
  plProgress.show();
  btCountDatabase.setEnabled(false);
  btDrawMap.setEnabled(false);
  btSaveMap.setEnabled(false);
  // A failed run is shown, and then the panel goes and the buttons come back:
  // left as they were, the panel would cover the map and the buttons stay dead
  // until the user changed pages. The counts written before the failure stay.
  RunShowingErrors([this] {
    CountIntoPicture(Session(), Map,
                     {{GridTypeByItem(rgGridType.ItemIndex()), CheckedKeyList(clbTaxonGroups),
                       CheckedKeyList(ClbSurveys)},
                      Style()},
                     Image1.Picture(), {MarginLeft, MarginTop}, *this);
    Image1.update();
  });
  plProgress.hide();
  btCountDatabase.setEnabled(true);
  btDrawMap.setEnabled(true);
  btSaveMap.setEnabled(true);
  Counting = false;
}

}  // namespace velmora
