#include "map/map_job.h"

#include <algorithm>
#include <cstdint>

#include "map/cell_fills.h"
#include "map/cell_values.h"
#include "map/map_font.h"
#include "map/qcolor_conversion.h"
#include "map/rounding.h"
#include "map/vector_output.h"
#include "platform/errors.h"

namespace velmora {
namespace {

CellFillDrawing FillDrawingOf(const MapState& map, Margins margins, const MapStyle& style,
                              const MapMarks& marks) {
  return {margins,       map.CellRows, map.CellColumns,
          marks.classes, marks.colors, style.cartography.fillOpacity};
}

// The drawings of the values: one in the value colour, and on class colours
// where another colour reads better, one in each such colour for the cells of
// those classes. None when the values are left out.
std::vector<CellValueDrawing> ValueDrawings(const MapState& map, Margins margins,
                                            const MapStyle& style, const MapMarks& marks) {
  if (!marks.valuePoints) return {};
  const std::string size = style.cartography.values == CellValues::Fit
                               ? std::to_string(*marks.valuePoints)
                               : style.cellFontSize;
  const CellValueDrawing plain{margins, map.CellRows, map.CellColumns, size, style.cellValueColor};
  std::vector<TColor> colorOfClass;
  for (const QColor& fill : marks.colors) {
    colorOfClass.push_back(ToTColor(
        ValueColorOn(fill, style.cartography.fillOpacity, ToQColor(style.cellValueColor))));
  }
  if (std::ranges::all_of(colorOfClass, [&](TColor c) { return c == plain.color; })) {
    return {plain};
  }
  // The drawings are used while the map and its marks are, after this call.
  const auto colorOfCell = [&map, &marks, colorOfClass, plain = plain.color](int row, int column) {
    const int count = CountOfCell(map.Grids[row][column]);
    const int fill = count > 0 ? marks.classes.ClassOf(count) : -1;
    return fill >= 0 ? colorOfClass[fill] : plain;
  };
  std::vector<CellValueDrawing> drawings;
  std::vector<TColor> colors = {plain.color};
  for (TColor color : colorOfClass) {
    if (std::ranges::find(colors, color) == colors.end()) colors.push_back(color);
  }
  for (TColor color : colors) {
    CellValueDrawing drawing = plain;
    drawing.color = color;
    drawing.shows = [colorOfCell, color](int row, int column) {
      return colorOfCell(row, column) == color;
    };
    drawings.push_back(std::move(drawing));
  }
  return drawings;
}

}  // namespace

GridDrawing GridDrawingOf(const MapState& map, Margins margins, const MapStyle& style) {
  return {margins,           map.SheetColumns,     map.SheetRows,         map.NwRow,
          map.NwColumnIndex, style.marginFontSize, style.marginLabelColor};
}

std::optional<MapPicture> DrawMapPicture(const MapState& map, const MapStyle& style) {
  std::optional<MapPicture> drawn =
      LoadBackgroundImage(map.BackgroundImagePath, map.SheetColumns, map.SheetRows);
  if (drawn) DrawGrid(drawn->picture, GridDrawingOf(map, drawn->margins, style));
  return drawn;
}

MapMarks MarksOf(const MapState& map, QSize picture, Margins margins, const MapStyle& style) {
  const Cartography& cartography = style.cartography;
  MapMarks marks;
  if (cartography.classes) {
    marks.classes = ClassesOf(*cartography.classes, CountsOfCells(map.Grids));
    marks.colors = ClassColors(cartography.PaletteOrDefault(), marks.classes.Size());
  }
  if (cartography.values == CellValues::Off || map.CellRows <= 0 || map.CellColumns <= 0) {
    return marks;
  }
  const int mapWidth = picture.width() - margins.left;
  const int mapHeight = picture.height() - margins.top;
  const int halfCell = static_cast<int>(RoundHalfEven(mapWidth, 2 * std::int64_t{map.CellColumns}));
  const int points = FontPointsOf(style.cellFontSize, halfCell);
  if (cartography.values == CellValues::On) {
    marks.valuePoints = points;
    return marks;
  }
  const ValueFit fit = FitValues(map.Grids, static_cast<double>(mapWidth) / map.CellColumns,
                                 static_cast<double>(mapHeight) / map.CellRows, points);
  marks.valuePoints = fit.points;
  if (!fit.points) marks.widestValue = fit.widest;
  return marks;
}

MapMarks DrawMapValues(QImage& picture, Margins margins, const MapState& map,
                       const MapStyle& style) {
  if (picture.isNull()) return {};
  MapMarks marks = MarksOf(map, picture.size(), margins, style);
  DrawMarks(picture, margins, map, style, marks);
  return marks;
}

void DrawMarks(QImage& picture, Margins margins, const MapState& map, const MapStyle& style,
               const MapMarks& marks) {
  if (marks.classes.Size() > 0) {
    QPainter painter(&picture);
    DrawCellFills(painter, picture.size(), map.Grids, FillDrawingOf(map, margins, style, marks));
    DrawGridLines(painter, picture.size(), GridDrawingOf(map, margins, style));
  }
  for (const CellValueDrawing& values : ValueDrawings(map, margins, style, marks)) {
    DrawCellValues(picture, map.Grids, values);
  }
}

void PaintMap(QPainter& painter, const MapPicture& background, const MapState& map,
              const MapStyle& style, const MapMarks& marks) {
  const QSize size = background.picture.size();
  const Margins margins = background.margins;
  painter.drawImage(QPoint(0, 0), background.picture);
  DrawCellFills(painter, size, map.Grids, FillDrawingOf(map, margins, style, marks));
  DrawGrid(painter, size, GridDrawingOf(map, margins, style));
  for (const CellValueDrawing& values : ValueDrawings(map, margins, style, marks)) {
    DrawCellValues(painter, size, map.Grids, values);
  }
}

MapJobResult CountIntoPicture(DatabaseSession& session, MapState& map, const MapJobInputs& inputs,
                              QImage& picture, Margins margins, ProgressSink& progress) {
  CountResult counted = CountDatabase(session, map, inputs.count, progress);
  MapMarks marks = DrawMapValues(picture, margins, map, inputs.style);
  return {std::move(counted), std::move(marks)};
}

SheetDecoration DecorationOf(const MapState& map, Margins margins, const MapStyle& style,
                             const MapMarks& marks, const MapFacts& facts) {
  const Cartography& cartography = style.cartography;
  SheetDecoration decoration;
  decoration.title = cartography.title;
  if (cartography.legend) {
    decoration.legend = MapLegend(map, facts, marks.classes, marks.colors, cartography.fillOpacity);
  }
  decoration.font = MapFont(FontPointsOf(style.marginFontSize, RoundHalfEven(margins.left / 2.0)));
  decoration.textColor = ToQColor(style.marginLabelColor);
  return decoration;
}

FinishedMap FinishMap(const MapPicture& counted, const MapState& map, const MapStyle& style,
                      const MapMarks& marks, const MapFacts& facts) {
  return FinishMap(counted, map, DecorationOf(map, counted.margins, style, marks, facts));
}

FinishedMap FinishMap(const MapPicture& counted, const MapState& map,
                      const SheetDecoration& decoration) {
  const SheetLayout layout = LayOutSheet(counted.picture.size(), decoration);
  FinishedMap finished{ComposeSheet(counted.picture, layout, decoration), {}};
  if (finished.picture.isNull()) throw Exception("the map would be too large for a picture");
  const Margins margins = counted.margins;
  finished.georeference = GeoreferenceOf(map, layout.mapAt + QPoint(margins.left, margins.top),
                                         counted.picture.size() - QSize(margins.left, margins.top));
  return finished;
}

PdfMap WriteMapPdf(const std::filesystem::path& file, const MapPicture& background,
                   const MapState& map, const MapStyle& style, const MapFacts& facts) {
  PdfMap pdf{MarksOf(map, background.picture.size(), background.margins, style), {}};
  pdf.size = WriteMapPdf(file, background, map, style, pdf.marks,
                         DecorationOf(map, background.margins, style, pdf.marks, facts));
  return pdf;
}

QSize WriteMapPdf(const std::filesystem::path& file, const MapPicture& background,
                  const MapState& map, const MapStyle& style, const MapMarks& marks,
                  const SheetDecoration& decoration) {
  const SheetLayout layout = LayOutSheet(background.picture.size(), decoration);
  WritePdf(file, layout.size, decoration.title, [&](QPainter& painter) {
    painter.save();
    painter.translate(layout.mapAt);
    PaintMap(painter, background, map, style, marks);
    painter.restore();
    DrawSheetStrips(painter, layout, decoration);
  });
  return layout.size;
}

}  // namespace velmora
