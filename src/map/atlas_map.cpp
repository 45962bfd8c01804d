#include "map/atlas_map.h"

#include "count/count_transfer.h"
#include "map/cell_fills.h"
#include "map/palettes.h"

namespace velmora {
namespace {

// Cells whose records have no date.
const QColor kUndatedColor(150, 150, 150);

// The colours of the periods, the earliest lightest, and the undated cells'
// grey last. The palette's lightest yellow would vanish over a light
// background, so the periods take its darker colours.
std::vector<QColor> MarkColors(int periods) {
  std::vector<QColor> colors = ClassColors(Palettes().front(), periods + 1);
  colors.erase(colors.begin());
  colors.push_back(kUndatedColor);
  return colors;
}

// The marks as classes of the cells' values: mark m is value m + 1.
MapMarks MarksOfPeriods(int periods) {
  MapMarks marks;
  for (int mark = 0; mark <= periods; ++mark) marks.classes.lower.push_back(mark + 1);
  marks.classes.highest = periods + 1;
  marks.colors = MarkColors(periods);
  return marks;
}

// The map with the marks as its cells' values.
MapState MarkedMap(const MapState& map, const TaxonMap& taxonMap) {
  MapState marked = map;
  for (std::vector<TGrid>& row : marked.Grids) {
    for (TGrid& cell : row) cell.Count.clear();
  }
  for (const auto& [position, mark] : taxonMap.marks) {
    const size_t columns = static_cast<size_t>(map.CellColumns);
    marked.Grids[position / columns][position % columns].Count = std::to_string(mark + 1);
  }
  return marked;
}

// The style of a distribution map: the fills, no values, the taxon's title.
MapStyle TaxonStyle(const MapStyle& style, const TaxonMap& taxonMap) {
  MapStyle taxon = style;
  taxon.cartography = {};
  taxon.cartography.fillOpacity = kAtlasFillOpacity;
  taxon.cartography.values = CellValues::Off;
  taxon.cartography.title = taxonMap.title;
  return taxon;
}

SheetDecoration DecorationOfTaxon(const MapState& map, Margins margins, const MapStyle& style,
                                  const MapMarks& marks, const TaxonMap& taxonMap) {
  SheetDecoration decoration = DecorationOf(map, margins, style, marks, {});
  decoration.legend = taxonMap.legend;
  return decoration;
}

}  // namespace

int AtlasPeriods::Of(int year) const {
  int period = 0;
  while (period < static_cast<int>(starts_.size()) && year >= starts_[period]) ++period;
  return period;
}

std::string AtlasPeriods::Label(int period) const {
  if (period == 0) return "bis " + std::to_string(starts_.front() - 1);
  if (period == static_cast<int>(starts_.size())) return "ab " + std::to_string(starts_.back());
  return std::to_string(starts_[period - 1]) + "–" + std::to_string(starts_[period] - 1);
}

TaxonMap TaxonMapOf(const AtlasTaxon& taxon, const std::string& groupName,
                    const AtlasPeriods& periods, const MapState& map, const YearRange& years) {
  TaxonMap taxonMap;
  const size_t cells = taxon.cells.size();
  taxonMap.title = taxon.name + (groupName.empty() ? "" : " (" + groupName + ")") + " · " +
                   std::to_string(cells) + (cells == 1 ? " Rasterfeld" : " Rasterfelder");
  for (const AtlasCell& cell : taxon.cells) {
    taxonMap.marks.emplace_back(cell.position,
                                cell.lastYear ? periods.Of(*cell.lastYear) : periods.Size());
  }
  taxonMap.legend = MapLegend(map, {CountMeasure::Taxa, years, cells, std::nullopt}, {}, {}, 0);
  taxonMap.legend.heading = "Letzter Nachweis";
  const std::vector<QColor> colors = MarkColors(periods.Size());
  for (int mark = 0; mark <= periods.Size(); ++mark) {
    taxonMap.legend.swatches.push_back(
        {FillOverWhite(colors[static_cast<size_t>(mark)], kAtlasFillOpacity),
         mark < periods.Size() ? periods.Label(mark) : "ohne Datum"});
  }
  const int records = taxon.Records();
  taxonMap.legend.facts.push_back(std::to_string(records) +
                                  (records == 1 ? " Nachweis" : " Nachweise"));
  return taxonMap;
}

FinishedMap DrawTaxonMap(const MapPicture& base, const MapState& map, const MapStyle& style,
                         const TaxonMap& taxonMap, int periods) {
  const MapStyle taxonStyle = TaxonStyle(style, taxonMap);
  const MapMarks marks = MarksOfPeriods(periods);
  MapPicture drawn = base;
  DrawMarks(drawn.picture, drawn.margins, MarkedMap(map, taxonMap), taxonStyle, marks);
  return FinishMap(drawn, map, DecorationOfTaxon(map, drawn.margins, taxonStyle, marks, taxonMap));
}

QSize WriteTaxonMapPdf(const std::filesystem::path& file, const MapPicture& background,
                       const MapState& map, const MapStyle& style, const TaxonMap& taxonMap,
                       int periods) {
  const MapStyle taxonStyle = TaxonStyle(style, taxonMap);
  const MapMarks marks = MarksOfPeriods(periods);
  return WriteMapPdf(file, background, MarkedMap(map, taxonMap), taxonStyle, marks,
                     DecorationOfTaxon(map, background.margins, taxonStyle, marks, taxonMap));
}

void WriteGroupRichness(std::span<const AtlasTaxon* const> taxa, MapState& map) {
  std::vector<int> richness(static_cast<size_t>(map.CellRows) * map.CellColumns);
  for (const AtlasTaxon* taxon : taxa) {
    for (const AtlasCell& cell : taxon->cells) ++richness[cell.position];
  }
  for (int row = 0; row < map.CellRows; ++row) {
    for (int column = 0; column < map.CellColumns; ++column) {
      const int taxaInCell = richness[CellPosition(map, row, column)];
      map.Grids[row][column].Count = taxaInCell > 0 ? std::to_string(taxaInCell) : "";
    }
  }
}

}  // namespace velmora
