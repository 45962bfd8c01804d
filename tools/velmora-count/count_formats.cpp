#include "velmora-count/count_formats.h"

#include <array>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cli/command_errors.h"
#include "grid/cell_geometry.h"
#include "grid/coordinate_conversion.h"
#include "platform/errors.h"
#include "velmora-count/number_text.h"

namespace velmora::cli {
namespace {

// Seven decimals of a degree are about a centimetre.
void AppendDegrees(std::string& out, double degrees) { AppendFixed(out, degrees, 7); }

std::string FormatTsv(const MapState& map) {
  std::string out;
  for (const std::vector<TGrid>& row : map.Grids) {
    for (const TGrid& cell : row) {
      if (cell.Count == "0") continue;
      out += cell.Code + '\t' + cell.Count + '\n';
    }
  }
  return out;
}

// Where each code lies in the cell list.
class CellPositions {
 public:
  explicit CellPositions(const MapState& map) : map_(map) {
    for (int row = 0; row < static_cast<int>(map.Grids.size()); ++row) {
      for (int column = 0; column < static_cast<int>(map.Grids[row].size()); ++column) {
        positions_.emplace(map.Grids[row][column].Code, std::pair{row, column});
      }
    }
  }

  FrameBounds BoundsOf(const std::string& code) const {
    const auto [row, column] = positions_.at(code);
    return CellFrameBounds(map_, row, column);
  }

 private:
  const MapState& map_;
  std::unordered_map<std::string, std::pair<int, int>> positions_;
};

GeoPoint ToWgs84(const std::string& code, GeoPoint frame) {
  if (const std::optional<GeoPoint> wgs84 = FrameToWgs84(frame)) return *wgs84;
  throw Exception("the geodetic library cannot take the cell " + code + " to WGS84");
}

std::string Records(const CellCount& cell) {
  return cell.records ? std::to_string(*cell.records) : "";
}

std::string FormatCsv(const MapState& map, const CountResult& result) {
  const CellPositions positions(map);
  std::string out = "code,taxa,records,latitude,longitude\n";
  for (const CellCount& cell : result.cells) {
    const FrameBounds b = positions.BoundsOf(cell.code);
    const GeoPoint centre = ToWgs84(cell.code, {(b.north + b.south) / 2, (b.west + b.east) / 2});
    out += cell.code + ',' + std::to_string(cell.taxa) + ',' + Records(cell) + ',';
    AppendDegrees(out, centre.latitude);
    out += ',';
    AppendDegrees(out, centre.longitude);
    out += '\n';
  }
  return out;
}

// The corners and the edge midpoints, counter-clockwise from the south-west
// corner (east along the southern edge first), and that corner again to close
// the ring. The midpoints let the outline follow the datum's curvature.
std::array<GeoPoint, 9> Ring(const FrameBounds& b) {
  const double middle = (b.north + b.south) / 2;
  const double centre = (b.west + b.east) / 2;
  return {{{b.south, b.west},
           {b.south, centre},
           {b.south, b.east},
           {middle, b.east},
           {b.north, b.east},
           {b.north, centre},
           {b.north, b.west},
           {middle, b.west},
           {b.south, b.west}}};
}

// RFC 7946: longitude first, WGS84, the outer ring counter-clockwise. One
// feature a line; the codes need no escaping (digits, "W" and "/").
std::string FormatGeoJson(const MapState& map, const CountResult& result) {
  const CellPositions positions(map);
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  bool first = true;
  for (const CellCount& cell : result.cells) {
    out += first ? "\n" : ",\n";
    first = false;
    out += "{\"type\":\"Feature\",\"properties\":{\"code\":\"" + cell.code +
           "\",\"taxa\":" + std::to_string(cell.taxa) +
           ",\"records\":" + (cell.records ? std::to_string(*cell.records) : "null") +
           "},\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[";
    bool firstPoint = true;
    for (const GeoPoint& frame : Ring(positions.BoundsOf(cell.code))) {
      const GeoPoint point = ToWgs84(cell.code, frame);
      out += firstPoint ? "[" : ",[";
      firstPoint = false;
      AppendDegrees(out, point.longitude);
      out += ',';
      AppendDegrees(out, point.latitude);
      out += ']';
    }
    out += "]]}}";
  }
  out += "\n]}\n";
  return out;
}

}  // namespace

CountFormat ParseCountFormat(std::string_view name) {
  if (name == "tsv") return CountFormat::Tsv;
  if (name == "csv") return CountFormat::Csv;
  if (name == "geojson") return CountFormat::GeoJson;
  throw UsageError("--format takes tsv, csv or geojson, not '" + std::string(name) + "'");
}

bool HasRecordsAndCoordinates(CountFormat format) { return format != CountFormat::Tsv; }

std::string FormatCounts(CountFormat format, const MapState& map, const CountResult& result) {
  switch (format) {
    case CountFormat::Tsv:
      return FormatTsv(map);
    case CountFormat::Csv:
      return FormatCsv(map, result);
    case CountFormat::GeoJson:
      break;
  }
  return FormatGeoJson(map, result);
}

}  // namespace velmora::cli
