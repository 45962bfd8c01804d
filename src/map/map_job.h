#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "count/count_result.h"
#include "count/count_run.h"
#include "grid/cell_list.h"
#include "map/background.h"
#include "map/cartography.h"
#include "map/color_classes.h"
#include "map/grid_drawing.h"
#include "map/legend.h"
#include "map/map_sheet.h"
#include "map/value_fit.h"
#include "map/world_file.h"
#include "platform/db/database_session.h"
#include "platform/progress.h"
#include "platform/tcolor.h"

namespace velmora {

// The main job of the program, written once for the dialog and the command
// line: the picture of a map's background with its grid and labels, the count
// run over the database into the map's cells, and the counts written into
// their cells on the picture. The map (MapState) brings the extent, the cell
// list and the background image; the callers bring their progress display.

// How the texts of a map look: the sizes in points as typed (a text that is
// no whole number gives half the margin, or half a cell width) and the
// colours of the margin labels and of the cell values; by default the
// dialog's design-time values. The cartography adds what the dialog's picture
// does not have; by default nothing.
struct MapStyle {
  std::string marginFontSize = "18";
  TColor marginLabelColor = clBlack;
  std::string cellFontSize = "10";
  TColor cellValueColor = clBlack;
  Cartography cartography{};
};

// The grid of the map on a picture with these margins.
GridDrawing GridDrawingOf(const MapState& map, Margins margins, const MapStyle& style);

// A new picture of the map before any count: the background image at
// map.BackgroundImagePath with its label margins, the frame, the sheet lines
// and the labels. Nothing when the background cannot be loaded.
std::optional<MapPicture> DrawMapPicture(const MapState& map, const MapStyle& style);

// What the counts of a map's cells come to on a picture: their classes with a
// colour each (none unless the style classes them), and the size of their
// values (the value font size unless the style fits them; nothing when they
// are left out).
struct MapMarks {
  ColorClasses classes;
  std::vector<QColor> colors;
  std::optional<int> valuePoints;
  // Of values that did not fit: the widest of them.
  std::string widestValue;
};

MapMarks MarksOf(const MapState& map, QSize picture, Margins margins, const MapStyle& style);

// Writes the Count of the map's cells into `picture`, whose label margins are
// `margins`, over whatever the picture shows: as DrawCellValues does, and
// when the style says so, first the cells filled by class (under the grid's
// lines, which are drawn again over them) and the values at the size that
// fits. Gives what the counts came to.
MapMarks DrawMapValues(QImage& picture, Margins margins, const MapState& map,
                       const MapStyle& style);

// Draws marks the caller has chosen (MarksOf gives those of the style) as
// DrawMapValues draws its own.
void DrawMarks(QImage& picture, Margins margins, const MapState& map, const MapStyle& style,
               const MapMarks& marks);

// The same as vectors onto any painter whose coordinates are those of the
// picture: the background picture, the fills, the whole grid with its labels
// and the values as text.
void PaintMap(QPainter& painter, const MapPicture& background, const MapState& map,
              const MapStyle& style, const MapMarks& marks);

// What one count into a map picture takes besides the map and the database.
struct MapJobInputs {
  CountRunInputs count;
  MapStyle style;
};

// What one count into a map picture gives: the counted cells, and what their
// counts came to on the picture.
struct MapJobResult {
  CountResult counted;
  MapMarks marks;
};

// The count run (CountDatabase) over the session into the map's cells, with
// its status texts and bar on `progress`, then the counts written into the
// picture (DrawMapValues). The picture is drawn on in place, so a display can
// show it while the count runs. An error of the count passes out before
// anything is drawn; a null picture gets nothing.
MapJobResult CountIntoPicture(DatabaseSession& session, MapState& map, const MapJobInputs& inputs,
                              QImage& picture, Margins margins, ProgressSink& progress);

// The title and, when the style asks for it, the legend of a map whose counts
// came to `marks`, in the margin labels' font and colour.
SheetDecoration DecorationOf(const MapState& map, Margins margins, const MapStyle& style,
                             const MapMarks& marks, const MapFacts& facts);

// A counted map picture finished: its title above it and its legend below
// it as the style asks (DecorationOf), and where the result lies on the
// earth. Throws Exception when the finished picture would be too large.
struct FinishedMap {
  QImage picture;
  MapGeoreference georeference;
};

FinishedMap FinishMap(const MapPicture& counted, const MapState& map, const MapStyle& style,
                      const MapMarks& marks, const MapFacts& facts);
// The same with a title and legend of the caller's.
FinishedMap FinishMap(const MapPicture& counted, const MapState& map,
                      const SheetDecoration& decoration);

// The counted map as a one-page PDF (WritePdf): the background picture, the
// fills, grid, values, title and legend as vectors and text. Gives what the
// counts came to and the page's size in pixels.
struct PdfMap {
  MapMarks marks;
  QSize size;
};

PdfMap WriteMapPdf(const std::filesystem::path& file, const MapPicture& background,
                   const MapState& map, const MapStyle& style, const MapFacts& facts);
// The same with marks, title and legend of the caller's; gives the page's size.
QSize WriteMapPdf(const std::filesystem::path& file, const MapPicture& background,
                  const MapState& map, const MapStyle& style, const MapMarks& marks,
                  const SheetDecoration& decoration);

}  // namespace velmora
