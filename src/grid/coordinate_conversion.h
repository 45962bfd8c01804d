#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The full cell code of a WGS84 point, as the database stores LAT and LONG:
// the geodetic library turns it into the grid frame, then "QYX" (exactly)
// gives the minute-field code and any other system code the progressive
// quadrant code. Empty when the point lies outside the sheet range, outside
// ±90° latitude or ±180° longitude, or cannot be transformed.
std::string CoordinateToCellCode(std::string_view gridSystemCode, double latitude,
                                 double longitude);

// The progressive quadrant code ("QQQ") of a point in the grid frame (DHDN
// geographic degrees): sheet, "/" and three digits, W-prefixed west of column
// 00. Empty outside sheet rows 1-99 and sheet columns -99 to 99.
std::string QuadrantCellCode(double latitude, double longitude);

// The minute-field code ("QYX") of a point in the grid frame. Empty outside
// sheet rows 0-99 and sheet columns -99 to 99.
std::string MinuteFieldCellCode(double latitude, double longitude);

// A point in geographic degrees.
struct GeoPoint {
  double latitude;
  double longitude;
};

// A point of the grid frame (DHDN geographic degrees) in WGS84, through the
// geodetic library: the inverse of the transformation CoordinateToCellCode
// makes, for handing the grid's cells to GIS programs. Nothing when the
// library is not bound or cannot transform the point.
std::optional<GeoPoint> FrameToWgs84(GeoPoint frame);

// The WGS84 point in the grid frame, as CoordinateToCellCode transforms it,
// but silent: nothing when the library is not bound or cannot transform the
// point.
std::optional<GeoPoint> Wgs84ToFrame(GeoPoint wgs84);

// PROJ's description of the operation by which the geodetic library takes the
// WGS84 point into the grid frame ("Inverse of DHDN to WGS 84 (4), grid
// BETA2007.gsb, accuracy 1 m"). Nothing when the library does not say (our
// stand-in does; GeoDLL32 itself has no such entry point), is not bound, or
// cannot transform the point.
std::optional<std::string> FrameOperationOf(GeoPoint wgs84);

}  // namespace velmora
