#pragma once

#include <string>
#include <string_view>

#include "count/count_result.h"
#include "grid/cell_list.h"

namespace velmora::cli {

// How velmora-count count prints the counted cells.
enum class CountFormat {
  Tsv,      // CODE<TAB>COUNT, the count as the cells show it
  Csv,      // code,taxa,records,latitude,longitude with the centre in WGS84
  GeoJson,  // a FeatureCollection of the cells as WGS84 polygons
};

// tsv, csv or geojson; a UsageError for anything else.
CountFormat ParseCountFormat(std::string_view name);

// Whether the format needs each cell's records and the geodetic library.
bool HasRecordsAndCoordinates(CountFormat format);

// The counted cells of the map in the format: for tsv the Count of every cell
// other than "0", for the others the cells of the result, in cell-list order
// either way. The WGS84 coordinates come from the cells' frame bounds through
// the geodetic library; a point it cannot transform raises an Exception
// naming the cell.
std::string FormatCounts(CountFormat format, const MapState& map, const CountResult& result);

}  // namespace velmora::cli
