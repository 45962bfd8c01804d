#include "demo/demo_places.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "grid/subdivision.h"
#include "platform/db/variant.h"

namespace velmora::demo {

namespace {

// Degrees as the host keeps them, to a millionth (about 10 cm).
std::string Degrees(double value) { return VariantToText(std::round(value * 1e6) / 1e6); }

std::string Fixed(double value, int decimals) {
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
  return std::string(buffer, end);
}

// "49.3512N, 7.1234E", the host's latitude/longitude reference.
std::string LatLongReference(double lat, double lon) {
  return Fixed(std::abs(lat), 4) + (lat < 0 ? "S" : "N") + ", " + Fixed(std::abs(lon), 4) +
         (lon < 0 ? "W" : "E");
}

// An approximate UTM reference: zone, latitude band, easting and northing in metres.
std::string UtmReference(double lat, double lon) {
  const int zone = static_cast<int>(std::floor((lon + 180) / 6)) + 1;
  const double centralMeridian = zone * 6 - 183;
  const double easting =
      500000 + (lon - centralMeridian) * 111320 * std::cos(lat * 3.141592653589793 / 180);
  const double northing = lat * 110950;
  return std::to_string(zone) + "U " + std::to_string(std::lround(easting)) + " " +
         std::to_string(std::lround(northing));
}

}  // namespace

PlaceMaker::PlaceMaker(const Extent& extent, DemoRandom& random)
    : extent_(extent), random_(random) {
  const int count = std::max(3, extent.SheetRows() * extent.SheetColumns() * 2);
  double total = 0;
  for (int i = 0; i < count; ++i) {
    // Centres may lie up to a third of a sheet outside the extent.
    const double lat =
        random_.Between(SouthEdge(extent) - kSheetHeight / 3, NorthEdge(extent) + kSheetHeight / 3);
    const double lon =
        random_.Between(WestEdge(extent) - kSheetWidth / 3, EastEdge(extent) + kSheetWidth / 3);
    // A heavy tail: a few clusters hold most samples.
    total += 1 / std::pow(random_.Uniform() + 0.05, 1.5);
    clusters_.push_back({lat, lon, random_.Between(0.004, 0.03), total});
  }
}

PlaceMaker::Point PlaceMaker::PickPoint() {
  const double kind = random_.Uniform();
  if (kind < 0.01) return {random_.Between(56.2, 58.0), random_.Between(8.0, 14.0)};
  if (kind < 0.05) return {random_.Between(47.4, 54.8), random_.Between(6.2, 14.8)};
  if (kind < 0.15) {
    return {
        random_.Between(SouthEdge(extent_) - kSheetHeight / 2,
                        NorthEdge(extent_) + kSheetHeight / 2),
        random_.Between(WestEdge(extent_) - kSheetWidth / 2, EastEdge(extent_) + kSheetWidth / 2)};
  }
  const double pick = random_.Uniform() * clusters_.back().cumulativeWeight;
  const Cluster& c = *std::ranges::lower_bound(clusters_, pick, {}, &Cluster::cumulativeWeight);
  return {c.lat + random_.Normal() * c.radius, c.lon + random_.Normal() * c.radius * 1.5};
}

DemoPlace PlaceMaker::GridReference(Point point, bool minuteFields) {
  if (random_.Chance(0.03)) {  // a west sheet, on the Belgian border
    point = {random_.Between(50.2, 51.3), random_.Between(5.45, 5.83)};
  }
  const int row = static_cast<int>(std::floor((56.0 - point.lat) / kSheetHeight));
  const int columnIndex = static_cast<int>(std::floor((point.lon - 35.0 / 6) * 6)) + 101;
  if (row < 1 || row > 99 || columnIndex < 0 || columnIndex > 199) {
    return {Degrees(point.lat), Degrees(point.lon), LatLongReference(point.lat, point.lon), "LTLN"};
  }
  // Fractions of the sheet from its north-west corner.
  const double down = (SheetNorth(row) - point.lat) / kSheetHeight;
  const double across = (point.lon - SheetWest(columnIndex)) / kSheetWidth;
  std::string ref = FormatSheetNumber(row, columnIndex);
  int rows = 1, columns = 1;
  // The cell index of a fraction; the clamp keeps a rounding error off the edge.
  const auto cell = [](double fraction, int cells) {
    return std::clamp(static_cast<int>(fraction * cells), 0, cells - 1);
  };
  const int level = random_.Below(4);
  if (minuteFields && level >= 2) {
    rows = 6;
    columns = 10;
    ref += '/';
    AppendMinuteFieldDigits(ref, cell(down, rows), cell(across, columns));
  } else if (level > 0) {
    rows = columns = 1 << level;
    ref += '/';
    AppendQuadrantDigits(ref, cell(down, rows), cell(across, columns), level);
  }
  // The host puts the centre of the referenced cell into LAT and LONG.
  const double lat = SheetNorth(row) - (cell(down, rows) + 0.5) / rows * kSheetHeight;
  const double lon = SheetWest(columnIndex) + (cell(across, columns) + 0.5) / columns * kSheetWidth;
  return {Degrees(lat), Degrees(lon), ref, minuteFields ? "QYX" : "QQQ"};
}

DemoPlace PlaceMaker::Next() {
  Point point = PickPoint();
  const double kind = random_.Uniform();
  if (kind < 0.05) {  // no coordinates at all, whatever the reference says
    DemoPlace place = GridReference(point, random_.Chance(0.5));
    place.lat.clear();
    place.lon.clear();
    return place;
  }
  if (kind < 0.055) return {Degrees(point.lat), "", LatLongReference(point.lat, point.lon), "LTLN"};
  if (kind < 0.60) {
    return {Degrees(point.lat), Degrees(point.lon), LatLongReference(point.lat, point.lon), "LTLN"};
  }
  if (kind < 0.66) {  // a British record: far outside every sheet of the extent
    static constexpr const char* kSquares[] = {"SU", "SP", "TQ", "ST", "SY", "SZ"};
    const double lat = random_.Between(50.7, 52.4), lon = random_.Between(-3.0, 0.4);
    std::string ref = kSquares[random_.Below(6)];
    ref += std::to_string(1000 + random_.Below(9000));
    return {Degrees(lat), Degrees(lon), ref, "OSGB"};
  }
  if (kind < 0.72) {
    return {Degrees(point.lat), Degrees(point.lon), UtmReference(point.lat, point.lon), "UTM"};
  }
  if (kind < 0.76) return {Degrees(point.lat), Degrees(point.lon), "", ""};
  return GridReference(point, kind >= 0.88);
}

}  // namespace velmora::demo
