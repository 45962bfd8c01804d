#include "map/map_job.h"

#include "map/cell_values.h"

namespace velmora {

GridDrawing GridDrawingOf(const MapState& map, Margins margins, const MapStyle& style) {
  return {margins,           map.SheetColumns,     map.SheetRows,         map.NwRow,
          map.NwColumnIndex, style.marginFontSize, style.marginLabelColor};
}

void DrawMapValues(QImage& picture, Margins margins, const MapState& map, const MapStyle& style) {
  DrawCellValues(
      picture, map.Grids,
      {margins, map.CellRows, map.CellColumns, style.cellFontSize, style.cellValueColor});
}

std::optional<MapPicture> DrawMapPicture(const MapState& map, const MapStyle& style) {
  std::optional<MapPicture> drawn =
      LoadBackgroundImage(map.BackgroundImagePath, map.SheetColumns, map.SheetRows);
  if (drawn) DrawGrid(drawn->picture, GridDrawingOf(map, drawn->margins, style));
  return drawn;
}

CountResult CountIntoPicture(DatabaseSession& session, MapState& map, const MapJobInputs& inputs,
                             QImage& picture, Margins margins, ProgressSink& progress) {
  CountResult counted = CountDatabase(session, map, inputs.count, progress);
  DrawMapValues(picture, margins, map, inputs.style);
  return counted;
}

}  // namespace velmora
