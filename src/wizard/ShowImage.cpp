#include "wizard/ShowImage.h"

#include <QFont>
#include <QKeyEvent>
#include <QScrollBar>

#include "grid/grid_types.h"
#include "map/background.h"
#include "map/fonts.h"
#include "map/grid_drawing.h"
#include "map/map_job.h"
#include "platform/errors.h"
#include "wizard/error_display.h"
#include "wizard/key_filters.h"
#include "wizard/selection_list_boxes.h"
#include "wizard/validation.h"

namespace velmora {
namespace {

constexpr int kMapPage = 0;
constexpr int kSettingsPage = 1;

// The form's size includes the window frame; the client area is what is left
// inside a common frame of 8 pixels at the sides and the bottom and a 30-pixel
// caption bar.
constexpr int kFormWidth = 775;
constexpr int kFormHeight = 759;
constexpr int kFrameWidth = 8;
constexpr int kCaptionHeight = 30;
constexpr QSize kDesignSize{kFormWidth - 2 * kFrameWidth,
                            kFormHeight - kCaptionHeight - kFrameWidth};

// The size a classic dialog button has when the form gives it none.
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

QFont PixelFont(const QString& family, int characterHeight) {
  QFont font(family);
  font.setPixelSize(characterHeight);
  return font;
}

// A label that sizes itself to its text, as the form's captions do.
void PlaceAutoSized(QLabel& label, int left, int top) {
  label.move(left, top);
  label.adjustSize();
}

std::optional<int> SelectedItem(const RadioGroup& group) {
  const int index = group.ItemIndex();
  if (index < 0) return std::nullopt;
  return index;
}

// Connects a signal to an event handler of the dialog; an error that leaves
// the handler is shown by the dialog's error display.
template <typename Sender, typename Signal, typename Handler>
void ConnectShowingErrors(Sender& sender, Signal signal, TdlgMTBWizard& dialog, Handler handler) {
  QObject::connect(&sender, signal, &dialog,
                   [&dialog, handler] { RunShowingErrors([&] { (dialog.*handler)(); }); });
}

}  // namespace

TdlgMTBWizard::TdlgMTBWizard() {
  setWindowTitle("Velmora");
  setFont(PixelFont(kDialogFontFamily, 11));
  PlaceControls();
  AnchorControls();
  ConnectHandlers();
  // The form has no default button. A dialog makes one of each push button
  // that takes the focus, or of its first one, and Return then clicks it: a
  // count started by Return on the map page.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
}

TdlgMTBWizard::~TdlgMTBWizard() = default;

void TdlgMTBWizard::PlaceControls() {
  move(410, 108);
  resize(kDesignSize);

  pcWizard.setGeometry(8, 8, 745, 673);
  pcWizard.addTab(&TabSheet1, "Karte");
  pcWizard.addTab(&TabSheet2, "Einstellungen");
  btCountDatabase.setGeometry(8, 688, 145, 25);
  btDrawMap.setGeometry(168, 688, 121, 25);
  btSaveMap.setGeometry(296, 688, 113, 25);

  // Page "Karte".
  ScrollBox1.setGeometry(17, 10, 700, 607);
  ScrollBox1.verticalScrollBar()->setSingleStep(46);
  Image1.setGeometry(0, 0, 700, 607);
  Label4.setGeometry(88, 256, 502, 45);
  Label4.setFont(PixelFont(kNoticeFontFamily, 40));
  // Set in Arial's metrics the notice is a little wider than the form's box;
  // it grows to its text rather than lose its last letter.
  Label4.resize(Label4.size().expandedTo(Label4.sizeHint()));
  plProgress.setGeometry(160, 320, 385, 81);
  plProgress.setFrameStyle(QFrame::Panel | QFrame::Raised);
  plProgress.setAutoFillBackground(true);
  plProgress.hide();
  ProgressBar.setGeometry(16, 24, 350, 17);
  ProgressBar.setRange(0, 100);
  ProgressBar.setTextVisible(false);
  lblProgress.setGeometry(16, 56, 350, 13);

  // Page "Einstellungen".
  GroupBox1.setGeometry(8, 8, 321, 153);
  LbMtbText.setGeometry(77, 64, 157, 39);
  LbMtbText.setWordWrap(true);
  LbMtbText.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceAutoSized(Label1, 72, 32);
  PlaceAutoSized(Label2, 148, 122);
  eMtbNw.setGeometry(12, 28, 51, 21);
  eMtbSe.setGeometry(253, 119, 51, 21);
  rgGridSystem.setGeometry(344, 24, 153, 73);
  rgGridSystem.SetItemIndex(0);
  rgGridType.setGeometry(512, 24, 137, 137);
  rgGridType.SetItemIndex(0);

  GroupBox3.setGeometry(8, 176, 321, 257);
  clbTaxonGroups.setGeometry(8, 24, 289, 193);
  btAllTaxonGroups.setGeometry(8, 224, kButtonWidth, kButtonHeight);
  btNoTaxonGroup.setGeometry(97, 224, kButtonWidth, kButtonHeight);
  GroupBox4.setGeometry(344, 176, 321, 257);
  ClbSurveys.setGeometry(8, 24, 297, 193);
  BtAllSurveys.setGeometry(8, 224, kButtonWidth, kButtonHeight);
  BtNoSurvey.setGeometry(96, 224, kButtonWidth, kButtonHeight);

  GroupBox2.setGeometry(8, 448, 433, 105);
  PlaceAutoSized(Label3, 8, 24);
  eBackgroundImage.setGeometry(8, 60, 329, 21);
  btGetImagePath.setGeometry(344, 56, 25, 25);

  PlaceAutoSized(lbFontsizeMargins, 464, 464);
  eFontSizeMargins.setGeometry(560, 462, 33, 21);
  ShpRBsrColor.setGeometry(601, 462, 25, 18);
  btGetColorRbsr.setGeometry(632, 462, 25, 18);
  PlaceAutoSized(lbFontSizeCells, 464, 496);
  eFontSizeCells.setGeometry(560, 496, 33, 21);
  shpCellValueColor.setGeometry(600, 496, 25, 21);
  btGetCellValueColor.setGeometry(632, 496, 25, 21);
}

// The map box takes all the dialog gains, and the two lists share its width;
// what lies below them moves down, and the background path and the text
// styles under the lists move with them.
void TdlgMTBWizard::AnchorControls() {
  constexpr EdgeShares kGrows{0, 0, 1, 1};
  constexpr EdgeShares kMovesDown{0, 1, 0, 1};
  constexpr EdgeShares kCentred{0.5, 0.5, 0.5, 0.5};
  constexpr EdgeShares kLeftHalfGrows{0, 0, 0.5, 1};
  constexpr EdgeShares kRightHalfGrows{0.5, 0, 1, 1};
  constexpr EdgeShares kMovesDownWidensByHalf{0, 1, 0.5, 1};
  constexpr EdgeShares kMovesDownAndRightByHalf{0.5, 1, 0.5, 1};
  anchors_.Add(pcWizard, kGrows);
  for (QWidget* button : {&btCountDatabase, &btDrawMap, &btSaveMap}) {
    anchors_.Add(*button, kMovesDown);
  }
  anchors_.Add(ScrollBox1, kGrows);
  anchors_.Add(plProgress, kCentred);
  anchors_.Add(GroupBox3, kLeftHalfGrows);
  anchors_.Add(clbTaxonGroups, kLeftHalfGrows);
  anchors_.Add(GroupBox4, kRightHalfGrows);
  anchors_.Add(ClbSurveys, kLeftHalfGrows);
  for (QWidget* button : {&btAllTaxonGroups, &btNoTaxonGroup, &BtAllSurveys, &BtNoSurvey}) {
    anchors_.Add(*button, kMovesDown);
  }
  anchors_.Add(GroupBox2, kMovesDownWidensByHalf);
  anchors_.Add(eBackgroundImage, {0, 0, 0.5, 0});
  anchors_.Add(btGetImagePath, {0.5, 0, 0.5, 0});
  for (QWidget* control : std::initializer_list<QWidget*>{
           &lbFontsizeMargins, &eFontSizeMargins, &ShpRBsrColor, &btGetColorRbsr, &lbFontSizeCells,
           &eFontSizeCells, &shpCellValueColor, &btGetCellValueColor}) {
    anchors_.Add(*control, kMovesDownAndRightByHalf);
  }
}

void TdlgMTBWizard::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  anchors_.Follow(size() - kDesignSize);
}

void TdlgMTBWizard::ConnectHandlers() {
  connect(&pcWizard, &PageControl::changing, this, [this](bool& allowChange) {
    // An error leaving the handler refuses the change as well.
    allowChange = false;
    RunShowingErrors([&] {
      bool allow = true;
      pcWizardChanging(allow);
      allowChange = allow;
    });
  });
  ConnectShowingErrors(pcWizard, &PageControl::change, *this, &TdlgMTBWizard::pcWizardChange);
  ConnectShowingErrors(rgGridSystem, &RadioGroup::clicked, *this,
                       &TdlgMTBWizard::rgGridSystemClick);
  ConnectShowingErrors(btAllTaxonGroups, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btAllTaxonGroupsClick);
  ConnectShowingErrors(btNoTaxonGroup, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btNoTaxonGroupClick);
  ConnectShowingErrors(BtAllSurveys, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::BtAllSurveysClick);
  ConnectShowingErrors(BtNoSurvey, &QPushButton::clicked, *this, &TdlgMTBWizard::BtNoSurveyClick);
  ConnectShowingErrors(btDrawMap, &QPushButton::clicked, *this, &TdlgMTBWizard::btDrawMapClick);
  ConnectShowingErrors(btCountDatabase, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btCountDatabaseClick);
  ConnectShowingErrors(btSaveMap, &QPushButton::clicked, *this, &TdlgMTBWizard::btSaveMapClick);
  ConnectShowingErrors(btGetImagePath, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btGetImagePathClick);
  ConnectShowingErrors(btGetColorRbsr, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btGetColorRbsrClick);
  ConnectShowingErrors(btGetCellValueColor, &QPushButton::clicked, *this,
                       &TdlgMTBWizard::btGetCellValueColorClick);
  connect(&Image1, &ImageControl::mouseDown, this,
          [this](Qt::MouseButton, QPoint position, bool doubleClick) {
            Image1MouseDown(position, doubleClick);
          });
  connect(&Image1, &ImageControl::doubleClicked, this, [this] { Image1DblClick(); });
}

void TdlgMTBWizard::ValidateSettingsPage() {
  const auto problem = CheckSettingsPage(
      {rgGridType.ItemIndex() >= 0, eMtbNw.text().toStdString(), eMtbSe.text().toStdString()});
  if (!problem) return;
  if (problem->focusNorthWest) {
    pcWizard.SetActivePageIndex(kSettingsPage);
    eMtbNw.setFocus();
  }
  throw EValidation(problem->message);
}

void TdlgMTBWizard::ApplyGridSystem() {
  const GridSystemInfo* system = GridSystemByItem(rgGridSystem.ItemIndex());
  if (!system) return;
  for (int item = 0; item < rgGridType.Count(); ++item) {
    rgGridType.SetItemEnabled(item, system->offersGridType[item]);
  }
  const int selected = rgGridType.ItemIndex();
  const int offered = OfferedGridTypeItem(system->item, selected);
  if (offered != selected) rgGridType.SetItemIndex(offered);
}

void TdlgMTBWizard::UpdateButtonsForPage() {
  const bool onMap = pcWizard.currentIndex() == kMapPage;
  btCountDatabase.setEnabled(onMap);
  btDrawMap.setEnabled(onMap);
  btSaveMap.setEnabled(onMap);
}

void TdlgMTBWizard::MakeRadioButtonsMultiline(RadioGroup& group) { group.SetMultiline(true); }

void TdlgMTBWizard::BuildCellList() {
  CellListInputs inputs;
  inputs.gridTypeItem = SelectedItem(rgGridType);
  inputs.gridSystemItem = SelectedItem(rgGridSystem);
  inputs.extent = Extent::Read(eMtbNw.text().toStdString(), eMtbSe.text().toStdString());
  inputs.backgroundImagePath = eBackgroundImage.text().toStdString();
  velmora::BuildCellList(inputs, Map);
}

WizardSettings TdlgMTBWizard::GatherSettings() const {
  WizardSettings settings = read_;
  settings.northWest = eMtbNw.text().toStdString();
  settings.southEast = eMtbSe.text().toStdString();
  settings.gridSystemItem = rgGridSystem.ItemIndex();
  settings.gridTypeItem = rgGridType.ItemIndex();
  settings.backgroundImage = eBackgroundImage.text().toStdString();
  settings.fontSizeMargins = eFontSizeMargins.text().toStdString();
  settings.fontSizeCells = eFontSizeCells.text().toStdString();
  settings.marginLabelColor = ShpRBsrColor.BrushColor();
  settings.cellValueColor = shpCellValueColor.BrushColor();
  if (listsTicked_) {
    settings.taxonGroups = CheckedKeys(clbTaxonGroups);
    settings.surveys = CheckedKeys(ClbSurveys);
  }
  settings.exportWorldFile = ExportWorldFile;
  return settings;
}

void TdlgMTBWizard::ShowSettings(const WizardSettings& settings) {
  read_ = settings;
  eMtbNw.setText(QString::fromStdString(settings.northWest));
  eMtbSe.setText(QString::fromStdString(settings.southEast));
  rgGridSystem.SetItemIndex(settings.gridSystemItem);
  rgGridType.SetItemIndex(settings.gridTypeItem);
  eBackgroundImage.setText(QString::fromStdString(settings.backgroundImage));
  eFontSizeMargins.setText(QString::fromStdString(settings.fontSizeMargins));
  eFontSizeCells.setText(QString::fromStdString(settings.fontSizeCells));
  ShpRBsrColor.SetBrushColor(settings.marginLabelColor);
  shpCellValueColor.SetBrushColor(settings.cellValueColor);
  ExportWorldFile = settings.exportWorldFile;
}

void TdlgMTBWizard::ReadSettings() {
  WizardSettings settings = GatherSettings();
  try {
    LoadSettings(settings);
  } catch (...) {
    ShowSettings(settings);
    throw;
  }
  ShowSettings(settings);
}

void TdlgMTBWizard::WriteSettings() { SaveSettings(GatherSettings()); }

DatabaseSession& TdlgMTBWizard::Session() const {
  if (!Database) throw DatabaseError("Die Verbindung zur Datenbank ist nicht geöffnet");
  return Database->Session();
}

void TdlgMTBWizard::LoadBackgroundImage() {
  // Qt paints every widget double-buffered already.
  Image1.Picture() = QImage();
  LoadedBackgroundPath.clear();
  Image1.hide();
  Image1.setGeometry(0, 0, ScrollBox1.width(), ScrollBox1.height());
  std::optional<MapPicture> loaded =
      velmora::LoadBackgroundImage(Map.BackgroundImagePath, Map.SheetColumns, Map.SheetRows);
  if (loaded) {
    MarginLeft = loaded->margins.left;
    MarginTop = loaded->margins.top;
    LoadedGeoreference = GeoreferenceOf(Map, {MarginLeft, MarginTop},
                                        loaded->picture.size() - QSize(MarginLeft, MarginTop));
    Image1.resize(loaded->picture.size());
    Image1.Picture() = std::move(loaded->picture);
    LoadedBackgroundPath = Map.BackgroundImagePath;
    Image1.show();
    Label4.hide();
  } else {
    Label4.show();
  }
  HomeBounds = Image1.geometry();
  drawn_ = DrawnMapOf(Map);
}

TdlgMTBWizard::DrawnMap TdlgMTBWizard::DrawnMapOf(const MapState& map) {
  return {map.NwSheet, map.SeSheet, map.CellsPerSheet, map.BackgroundImagePath};
}

void TdlgMTBWizard::DrawGrid() {
  velmora::DrawGrid(Image1.Picture(), GridDrawingOf(Map, {MarginLeft, MarginTop}, Style()));
  Image1.update();
}

MapStyle TdlgMTBWizard::Style() const {
  return {eFontSizeMargins.text().toStdString(), ShpRBsrColor.BrushColor(),
          eFontSizeCells.text().toStdString(), shpCellValueColor.BrushColor()};
}

// Leaving the settings page needs settings that make a map; the cell list is
// rebuilt for them, the picture is not redrawn.
void TdlgMTBWizard::pcWizardChanging(bool& AllowChange) {
  // A page change would give the buttons back in the middle of a count run,
  // for a second run inside it, or rebuild the cell list the run writes into.
  if (Counting) {
    AllowChange = false;
    return;
  }
  if (pcWizard.currentIndex() != kSettingsPage) return;
  ValidateSettingsPage();
  BuildCellList();
  AllowChange = true;
}

void TdlgMTBWizard::pcWizardChange() { UpdateButtonsForPage(); }

void TdlgMTBWizard::rgGridSystemClick() { ApplyGridSystem(); }

void TdlgMTBWizard::eMtbNwKeyPress(QChar& Key) {
  if (!PassesNorthWestSheetKey(Key.unicode(), eMtbNw.text().contains(u'W'))) Key = QChar();
}

void TdlgMTBWizard::eMtbSeKeyPress(QChar& Key) {
  if (!PassesSouthEastSheetKey(Key.unicode())) Key = QChar();
}

void TdlgMTBWizard::eFontSizeMarginsKeyPress(QChar& Key) {
  if (!PassesDigitKey(Key.unicode())) Key = QChar();
}

void TdlgMTBWizard::eFontSizeCellsKeyPress(QChar& Key) {
  if (!PassesDigitKey(Key.unicode())) Key = QChar();
}

void TdlgMTBWizard::btDrawMapClick() {
  LoadBackgroundImage();
  DrawGrid();
}

void TdlgMTBWizard::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace velmora
