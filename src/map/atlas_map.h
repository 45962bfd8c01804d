#pragma once

#include <QColor>
#include <QSize>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "count/atlas_records.h"
#include "count/year_range.h"
#include "grid/cell_list.h"
#include "map/background.h"
#include "map/legend.h"
#include "map/map_job.h"

namespace velmora {

// The periods a distribution map tells the cells by, from the year of a
// cell's latest record: before the first start year, from each start year up
// to the next, and from the last one on.
class AtlasPeriods {
 public:
  // Rising years.
  explicit AtlasPeriods(std::vector<int> starts) : starts_(std::move(starts)) {}

  int Size() const { return static_cast<int>(starts_.size()) + 1; }
  // The period of a year.
  int Of(int year) const;
  // "bis 1949", "1950–1979", "ab 2000".
  std::string Label(int period) const;

 private:
  std::vector<int> starts_;
};

inline constexpr int kDefaultPeriodStarts[] = {1950, 1980, 2000};

// A distribution map's cells are filled this much over the background, more
// than a count's classes: the period colours must stay apart.
inline constexpr int kAtlasFillOpacity = 80;

// One taxon's distribution map: its title and the mark of each of its cells,
// the period of its latest record or, for a cell whose records have no date,
// one past the last period.
struct TaxonMap {
  std::string title;
  std::vector<std::pair<size_t, int>> marks;  // cell position, mark
  LegendContent legend;
};

// The distribution map of a taxon: the title names the taxon, its group and
// its cells; the legend gives the periods' colours and the map's facts.
TaxonMap TaxonMapOf(const AtlasTaxon& taxon, const std::string& groupName,
                    const AtlasPeriods& periods, const MapState& map, const YearRange& years);

// Draws a taxon's map onto a copy of `base`, the map's picture with its grid,
// finished with its title and legend, in the margin labels' style.
FinishedMap DrawTaxonMap(const MapPicture& base, const MapState& map, const MapStyle& style,
                         const TaxonMap& taxonMap, int periods);

// The same as a one-page PDF over the plain background; gives its size.
QSize WriteTaxonMapPdf(const std::filesystem::path& file, const MapPicture& background,
                       const MapState& map, const MapStyle& style, const TaxonMap& taxonMap,
                       int periods);

// The species richness of a group: per cell the number of its taxa with a
// record there, written into the map's cell values (which the map must not
// otherwise hold) for a map as velmora-map map draws it.
void WriteGroupRichness(std::span<const AtlasTaxon* const> taxa, MapState& map);

}  // namespace velmora
