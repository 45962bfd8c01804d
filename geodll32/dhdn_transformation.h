#pragma once

#include <optional>

namespace geodll32 {

struct GeographicPoint {
  double latitude;   // degrees
  double longitude;  // degrees
};

// WGS84 (EPSG:4326) to DHDN (EPSG:4314) geographic degrees, with the most
// accurate operation PROJ has for the point. The PROJ context and the
// transformation are created when the library is loaded and kept for the
// life of the process; like the program that calls it, it is meant for one thread at a
// time. Nothing for a non-finite input, a point PROJ cannot transform, or
// when PROJ could not set up the transformation at all.
std::optional<GeographicPoint> Wgs84ToDhdn(GeographicPoint wgs84);

// The inverse: DHDN geographic degrees back to WGS84, through the same
// operations run backwards (PROJ picks by the area of use on the DHDN side).
// Nothing in the same cases.
std::optional<GeographicPoint> DhdnToWgs84(GeographicPoint dhdn);

}  // namespace geodll32
