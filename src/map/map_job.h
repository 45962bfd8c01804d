#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "count/count_result.h"
#include "count/count_run.h"
#include "grid/cell_list.h"
#include "map/background.h"
#include "map/grid_drawing.h"
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
// dialog's design-time values.
struct MapStyle {
  std::string marginFontSize = "18";
  TColor marginLabelColor = clBlack;
  std::string cellFontSize = "10";
  TColor cellValueColor = clBlack;
};

// The grid of the map on a picture with these margins.
GridDrawing GridDrawingOf(const MapState& map, Margins margins, const MapStyle& style);

// A new picture of the map before any count: the background image at
// map.BackgroundImagePath with its label margins, the frame, the sheet lines
// and the labels. Nothing when the background cannot be loaded.
std::optional<MapPicture> DrawMapPicture(const MapState& map, const MapStyle& style);

// Writes the Count of the map's cells into `picture`, whose label margins are
// `margins`, as DrawCellValues does, over whatever the picture shows.
void DrawMapValues(QImage& picture, Margins margins, const MapState& map, const MapStyle& style);

// What one count into a map picture takes besides the map and the database.
struct MapJobInputs {
  CountRunInputs count;
  MapStyle style;
};

// The count run (CountDatabase) over the session into the map's cells, with
// its status texts and bar on `progress`, then the counts written into the
// picture (DrawMapValues). The picture is drawn on in place, so a display can
// show it while the count runs. An error of the count passes out before
// anything is drawn; a null picture gets nothing. Returns the counted cells.
CountResult CountIntoPicture(DatabaseSession& session, MapState& map, const MapJobInputs& inputs,
                             QImage& picture, Margins margins, ProgressSink& progress);

}  // namespace velmora
