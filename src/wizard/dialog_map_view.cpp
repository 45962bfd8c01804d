// Looking at the map and taking it away: zoom by the wheel, pan by dragging,
// back to the start by double-click, the JPEG export, and the choosers of the
// background image and the two label colours. Zoom and pan move only Image1's
// bounds in the scroll box; the picture is never touched.
#include <QDir>
#include <QMouseEvent>
#include <filesystem>
#include <system_error>
#include <vector>

#include "map/jpeg_export.h"
#include "map/qcolor_conversion.h"
#include "map/view.h"
#include "map/world_file.h"
#include "platform/errors.h"
#include "platform/replace_file.h"
#include "wizard/ShowImage.h"
#include "wizard/german_errors.h"

namespace velmora {

void TdlgMTBWizard::FormMouseWheel(int WheelDelta, QPoint MousePos) {
  const QPoint p = ScrollBox1.Client().mapFromGlobal(MousePos);
  Image1.setGeometry(ZoomedBounds(Image1.geometry(), p, WheelDelta, Image1.Picture().size()));
}

void TdlgMTBWizard::Image1MouseDown(QPoint Position, bool DoubleClick) {
  // The second press of a double-click resets the view; it begins no drag.
  if (DoubleClick) return;
  Dragging = true;
  Image1.setAttribute(Qt::WA_TransparentForMouseEvents, true);
  DragOrigin = Position;
  // Every further pointer event comes to the dialog until the button is up,
  // wherever the pointer goes.
  grabMouse();
}

void TdlgMTBWizard::FormMouseMove(QPoint MousePos) {
  if (!Dragging) return;
  const QPoint q = ScrollBox1.Client().mapFromGlobal(MousePos);
  Image1.setGeometry(DraggedBounds(Image1.geometry(), q, DragOrigin));
}

void TdlgMTBWizard::FormMouseUp() {
  Image1.setAttribute(Qt::WA_TransparentForMouseEvents, false);
  Dragging = false;
  releaseMouse();
}

void TdlgMTBWizard::Image1DblClick() { Image1.setGeometry(HomeBounds); }

void TdlgMTBWizard::mouseMoveEvent(QMouseEvent* event) {
  FormMouseMove(event->globalPosition().toPoint());
}

void TdlgMTBWizard::mouseReleaseEvent(QMouseEvent*) { FormMouseUp(); }

void TdlgMTBWizard::btSaveMapClick() {
  // Without a background there is no map: an empty file that reports success
  // would only hide that. Refused before the user is asked for a name.
  if (Image1.Picture().isNull()) {
    throw Exception("Es gibt keine Karte zum Exportieren: Es ist kein Hintergrundbild geladen");
  }
  const std::optional<QString> chosen = Dialogs->ChooseFile(
      *this, {FileDialogRequest::Purpose::Save, "Speichern", QDir::currentPath(),
              "Bild Dateien (*.jpg)", kExportDefaultExtension});
  if (!chosen) return;
  const std::filesystem::path file = ExportFilePath(chosen->toStdString());
  std::vector<std::filesystem::path> written = {file};
  if (ExportWorldFile) {
    for (const SideFile& side : GeoreferenceFiles(file, LoadedGeoreference)) {
      written.push_back(side.path);
    }
  }
  // Replacing a background with the map would lose it for every later
  // drawing: the one the picture came from, and the one the next drawing
  // reads when the settings named another since.
  for (const std::filesystem::path& target : written) {
    for (const std::string& background : {LoadedBackgroundPath, Map.BackgroundImagePath}) {
      std::error_code error;
      if (std::filesystem::equivalent(target, background, error)) {
        throw Exception("Die Karte kann nicht über ihr Hintergrundbild '" + target.string() +
                        "' exportiert werden");
      }
    }
  }
  // The encoder's and the system's causes reach the user in the dialog's
  // language, as its own refusals do.
  try {
    ExportJpeg(Image1.Picture(), file);
  } catch (const JpegEncodeError& e) {
    throw Exception("Die Karte konnte nicht als JPEG gespeichert werden: " + e.Reason());
  } catch (const FileWriteError& e) {
    throw Exception("Die Datei '" + file.string() + "' konnte nicht geschrieben werden: " +
                    (e.ErrorNumber() != 0 ? GermanSystemErrorText(e.ErrorNumber()) : e.Reason()));
  }
  if (ExportWorldFile) WriteGeoreference(file, LoadedGeoreference);
}

void TdlgMTBWizard::btGetImagePathClick() {
  const std::optional<QString> chosen =
      Dialogs->ChooseFile(*this, {FileDialogRequest::Purpose::Open, QString(), QDir::currentPath(),
                                  "Bitmap-Bilder (bmp) (*.bmp)", QString()});
  if (chosen) eBackgroundImage.setText(*chosen);
}

void TdlgMTBWizard::btGetColorRbsrClick() { ChooseShapeColor(ShpRBsrColor); }

void TdlgMTBWizard::btGetCellValueColorClick() { ChooseShapeColor(shpCellValueColor); }

void TdlgMTBWizard::ChooseShapeColor(Shape& shape) {
  if (const std::optional<QColor> chosen = Dialogs->ChooseColor(*this)) {
    shape.SetBrushColor(ToTColor(*chosen));
  }
}

}  // namespace velmora
