#pragma once

#include <QChar>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QProgressBar>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "grid/cell_list.h"
#include "map/map_job.h"
#include "platform/progress.h"
#include "platform/ui/anchors.h"
#include "platform/ui/check_list_box.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/image_control.h"
#include "platform/ui/key_press_hook.h"
#include "platform/ui/page_control.h"
#include "platform/ui/radio_group.h"
#include "platform/ui/scroll_box.h"
#include "platform/ui/wheel_hook.h"
#include "wizard/database_connector.h"
#include "wizard/shape.h"
#include "wizard/wizard_settings.h"

namespace velmora {

// The wizard: page "Karte" with the map and the progress panel, page
// "Einstellungen" with the map's extent, grid, selections, background image
// and label styles, and the three work buttons below the pages. The dialog
// holds the state of one use of the program; the work itself is done by the
// engines it calls with what its controls hold.
//
// Construction builds every control with its design-time value. The controls
// are public so that the steps of a use (start-up, count run, tests) reach
// them under the names they have on the form.
class TdlgMTBWizard : public QDialog, public ProgressSink {
  Q_OBJECT

 public:
  TdlgMTBWizard();
  ~TdlgMTBWizard() override;

  // The status line of the progress panel; then one round of processing what
  // waits for the dialog (repainting, input), so long work stays responsive.
  // (dialog_count_run.cpp, with the panel's bar and the count run)
  void SetProgressText(const std::string& text) override;
  void SetProgressPosition(int percent) override;

  // Raises EValidation, after putting the cursor where the problem is, when
  // the settings page cannot be left.
  void ValidateSettingsPage();

  // Enables the grid types that the chosen grid system offers, and moves a
  // selection off a grid type it does not offer.
  void ApplyGridSystem();

  // The work buttons are for the map page only.
  void UpdateButtonsForPage();

  // Lets the group's long captions wrap onto further lines.
  static void MakeRadioButtonsMultiline(RadioGroup& group);

  // Rebuilds the map description and its cell list from the settings page.
  void BuildCellList();

  // Creates the settings folder and puts what the settings file holds into
  // the controls. A value that cannot be converted raises ConvertError; the
  // entries before it have then reached their controls.
  void ReadSettings();

  // Replaces the settings file with the values of the controls, the ticks of
  // the two lists and the world file's entry when it is on.
  void WriteSettings();

  // Makes a new map picture from the background image of the current cell
  // list, with white label margins, and shows it at 1:1. When the image cannot
  // be loaded the picture stays empty, the "no background" notice shows in its
  // place and the margins keep their values. Never reports an error.
  void LoadBackgroundImage();

  // Draws the frame, the sheet lines and the margin labels onto the picture.
  void DrawGrid();

  // The look of the map's texts, as the settings page has it.
  MapStyle Style() const;

  // Append the host's taxon groups (in their sort order) and its surveys (by
  // name) to their lists, each item unchecked with its row's key; the hourglass
  // shows meanwhile. A failing query ends the loading with its error; the items
  // read before it stay. (selection_list_boxes.cpp)
  void LoadTaxonGroups();
  void LoadSurveys();
  // Ticks the items of both lists as the settings file keeps them: the items
  // of the stored keys, or every item where the file keeps none. From then on
  // the lists' ticks are what WriteSettings stores; until then the stored
  // ones. (selection_list_boxes.cpp)
  void TickStoredSelections();

  MapState Map;
  int MarginLeft = 0;
  int MarginTop = 0;
  // Where Image1 was right after the last background load.
  QRect HomeBounds;
  // The file the picture was loaded from; empty while there is no picture.
  std::string LoadedBackgroundPath;
  // Where the picture lies on the earth: the sheets of the map it was loaded
  // for, inside its margins.
  MapGeoreference LoadedGeoreference{};
  // Whether the export also writes the world file and the coordinate system
  // beside the JPEG (the settings file's kWorldFileKey); off by default.
  bool ExportWorldFile = false;
  // True while "Datenbank auszählen" works; the pages do not turn meanwhile.
  bool Counting = false;
  // The way to the database, from whoever created the dialog; none for a
  // dialog that works without a database.
  std::unique_ptr<DatabaseConnector> Database;

  // The open session of Database; raises DatabaseError when there is none.
  DatabaseSession& Session() const;

  // The view of the map (dialog_map_view.cpp). True from a press on Image1
  // until the next button release in the dialog, and the press position in
  // Image1's own pixels.
  bool Dragging = false;
  QPoint DragOrigin;
  // Where the file and colour choosers come from: the platform's own dialogs,
  // or a test's or a script's answers.
  std::unique_ptr<CommonDialogs> Dialogs = PlatformDialogs();

  // One wheel step zooms the map by 1.1 (delta above 0) or 0.9 about the
  // pointer (a screen position), whichever control the wheel turned over; no
  // zoom beyond 64 times the picture.
  void FormMouseWheel(int WheelDelta, QPoint MousePos);
  // Any button on the picture begins a drag, but the second press of a
  // double-click; the dialog captures the pointer until a button is released.
  void Image1MouseDown(QPoint Position, bool DoubleClick);
  // While dragging, the grabbed point of the picture follows the pointer (a
  // screen position).
  void FormMouseMove(QPoint MousePos);
  void FormMouseUp();
  // Back to the bounds of the last background load.
  void Image1DblClick();
  // Opens a colour dialog (not preset) and fills the shape with the chosen
  // colour; the map takes it at its next drawing or count.
  void ChooseShapeColor(Shape& shape);

 public slots:
  void pcWizardChanging(bool& AllowChange);
  void pcWizardChange();
  void rgGridSystemClick();
  void eMtbNwKeyPress(QChar& Key);
  void eMtbSeKeyPress(QChar& Key);
  void eFontSizeMarginsKeyPress(QChar& Key);
  void eFontSizeCellsKeyPress(QChar& Key);
  void btAllTaxonGroupsClick();
  void btNoTaxonGroupClick();
  void BtAllSurveysClick();
  void BtNoSurveyClick();
  void btDrawMapClick();
  // The count run: refused, with a message, while no taxon group or no survey
  // is ticked. A picture drawn for another cell list or background is drawn
  // afresh first, as "Karte neu zeichnen" does, so that every value lands in
  // its own cell. Then the panel shows and the three buttons lock, the samples are
  // assigned and the taxa counted for the checked lists, the counts other than
  // "0" are written centred into their cells of the picture; then the panel
  // hides and the buttons unlock, also after an error, which is shown. The
  // pages stay put while it works.
  void btCountDatabaseClick();
  // Writes the picture at its own size as JPEG to the file chosen in a
  // "Speichern" dialog. Without a picture it refuses before asking, and it
  // never writes over the background image the map is drawn from.
  void btSaveMapClick();
  // Puts the path of a chosen BMP into eBackgroundImage; nothing is loaded.
  void btGetImagePathClick();
  void btGetColorRbsrClick();
  void btGetCellValueColorClick();

 protected:
  // The dialog ends only through the window's close button, not by Escape.
  void keyPressEvent(QKeyEvent* event) override;
  // The map box and the lists follow the dialog's size.
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 public:
  // Declared parents first: each control is destroyed before its parent.
  PageControl pcWizard{this};
  QWidget TabSheet1;
  QWidget TabSheet2;
  QPushButton btCountDatabase{"Datenbank auszählen", this};
  QPushButton btDrawMap{"Karte neu zeichnen", this};
  QPushButton btSaveMap{"Karte exportieren", this};

  ScrollBox ScrollBox1{&TabSheet1};
  ImageControl Image1{&ScrollBox1.Client()};
  QLabel Label4{"Kein Hintergrundbild geladen", &ScrollBox1.Client()};
  QFrame plProgress{&TabSheet1};
  QProgressBar ProgressBar{&plProgress};
  QLabel lblProgress{"Dies ist ein Label", &plProgress};

  QGroupBox GroupBox1{"MTB-Begrenzugsrahmen", &TabSheet2};
  QLabel LbMtbText{
      "Geben Sie die Nummer des nordwestlichen und südöstlichen Messtischblattes der Karte an",
      &GroupBox1};
  QLabel Label1{"<- nordwestliches MTB", &GroupBox1};
  QLabel Label2{"Südöstliches MTB ->", &GroupBox1};
  QLineEdit eMtbNw{"0901", &GroupBox1};
  QLineEdit eMtbSe{"8756", &GroupBox1};
  RadioGroup rgGridSystem{
      "Rastersystem", {"Minutenfelder", "Fortschreitende Quadrantenteilung"}, &TabSheet2};
  RadioGroup rgGridType{
      "Rastertyp",
      {"Messtischblatt", "Quadranten", "4tel-Quadranten", "16tel-Quadranten", "Minutenfelder"},
      &TabSheet2};
  QGroupBox GroupBox3{"Sippengruppen auswählen", &TabSheet2};
  CheckListBox clbTaxonGroups{&GroupBox3};
  QPushButton btAllTaxonGroups{"Alle", &GroupBox3};
  QPushButton btNoTaxonGroup{"Keine", &GroupBox3};
  QGroupBox GroupBox4{"Projekte auswählen", &TabSheet2};
  CheckListBox ClbSurveys{&GroupBox4};
  QPushButton BtAllSurveys{"Alle", &GroupBox4};
  QPushButton BtNoSurvey{"Keine", &GroupBox4};
  QGroupBox GroupBox2{"Hintergrundkarte", &TabSheet2};
  QLabel Label3{"Geben Sie den Pfad zum Hintergrundbild (BMP-Format!) an:", &GroupBox2};
  QLineEdit eBackgroundImage{&GroupBox2};
  QPushButton btGetImagePath{"...", &GroupBox2};
  QLabel lbFontsizeMargins{"Randbeschriftung", &TabSheet2};
  QLineEdit eFontSizeMargins{"18", &TabSheet2};
  Shape ShpRBsrColor{&TabSheet2};
  QPushButton btGetColorRbsr{"...", &TabSheet2};
  QLabel lbFontSizeCells{"Zellenwerte", &TabSheet2};
  QLineEdit eFontSizeCells{"10", &TabSheet2};
  Shape shpCellValueColor{&TabSheet2};
  QPushButton btGetCellValueColor{"...", &TabSheet2};

 private:
  void PlaceControls();
  void AnchorControls();
  void ConnectHandlers();
  WizardSettings GatherSettings() const;
  void ShowSettings(const WizardSettings& settings);

  // What a picture shows: the map's corner sheets, its cells per sheet and its
  // background, as the cell list had them when the picture was drawn. The
  // count's values land in their own cells only on a picture of its cell list.
  struct DrawnMap {
    std::string nwSheet;
    std::string seSheet;
    int cellsPerSheet = 0;
    std::string background;
    bool operator==(const DrawnMap&) const = default;
  };
  static DrawnMap DrawnMapOf(const MapState& map);
  DrawnMap drawn_;

  // The settings as read, for what they hold beside the controls' values:
  // the ticks of the lists until these are filled, and the settings file's
  // character set.
  WizardSettings read_;
  bool listsTicked_ = false;

  KeyPressHook eMtbNwHook{eMtbNw, [this](QChar& key) { eMtbNwKeyPress(key); }};
  KeyPressHook eMtbSeHook{eMtbSe, [this](QChar& key) { eMtbSeKeyPress(key); }};
  KeyPressHook eFontSizeMarginsHook{eFontSizeMargins,
                                    [this](QChar& key) { eFontSizeMarginsKeyPress(key); }};
  KeyPressHook eFontSizeCellsHook{eFontSizeCells,
                                  [this](QChar& key) { eFontSizeCellsKeyPress(key); }};
  WheelHook wheelHook_{*this,
                       [this](int delta, QPoint position) { FormMouseWheel(delta, position); }};
  // When the bar was last moved (dialog_count_run.cpp).
  std::chrono::steady_clock::time_point barMoved_;
  // What the dialog gains over its design size goes to the map box and the
  // two lists; the controls below them move down.
  Anchors anchors_;
};

}  // namespace velmora
