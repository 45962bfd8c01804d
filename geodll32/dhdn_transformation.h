#pragma once

#include <optional>
#include <string>

namespace geodll32 {

struct GeographicPoint {
  double latitude;   // degrees
  double longitude;  // degrees
};

// WGS84 (EPSG:4326) to DHDN (EPSG:4314) geographic degrees, and back through
// the same operations run backwards (PROJ then picks by the area of use on the
// DHDN side).
enum class Direction { Wgs84ToDhdn, DhdnToWgs84 };

// The point in the other system, with the most accurate operation PROJ has
// for it. The PROJ context and the transformation are created when the
// library is loaded and kept for the life of the process; like the program
// that calls it, it is meant for one thread at a time. Nothing for a
// non-finite input, a point PROJ cannot transform, or when PROJ could not set
// up the transformation at all.
std::optional<GeographicPoint> Transform(GeographicPoint point, Direction direction);

// PROJ's description of the operation Transform applies to the point: the
// operation's name as PROJ gives it ("Inverse of DHDN to WGS 84 (4)"), the
// file of every grid it reads and its accuracy in metres where PROJ knows it.
// Nothing where Transform gives nothing.
std::optional<std::string> DescribeOperation(GeographicPoint point, Direction direction);

}  // namespace geodll32
