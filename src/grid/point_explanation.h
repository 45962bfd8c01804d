#pragma once

#include <optional>
#include <string>
#include <vector>

#include "grid/coordinate_conversion.h"
#include "grid/grid_types.h"

namespace velmora {

// Why a point lands in the cells it does: where the datum shift takes it and
// how near it then lies to the edge of its cells. Distances are metres on the
// Bessel ellipsoid of DHDN, from its radii of curvature at the point's frame
// latitude (the meridian radius north-south, the parallel's radius east-west):
// over the kilometre or two of a cell or a datum shift the radii change by a
// few millionths, so this local measure is the ellipsoidal distance to
// millimetres.

// A displacement on the ground, in metres: positive northwards and eastwards.
struct GroundOffset {
  double north;
  double east;
};

// How far the datum shift moves a point: from its WGS84 reading to its
// reading in the grid frame, in degrees (the longitude's across the 180th
// meridian the short way) and on the ground.
struct DatumShift {
  double latitudeDegrees;
  double longitudeDegrees;
  GroundOffset ground;
};

// The side of a cell.
enum class CellSide { North, South, West, East };

// The distance from a point to the nearest side of the cell that holds it.
struct EdgeDistance {
  double metres;
  CellSide side;
};

// The cells of one grid system that hold a point of the grid frame.
struct SystemCells {
  const GridSystemInfo* system;
  // One code per grid type the system offers, from the sheet to the finest
  // cell (minute field or sixteenth-quadrant); none outside the system's
  // sheet range.
  std::vector<std::string> codes;
  // To the nearest edge of the finest cell, the nearest line at which any of
  // the codes would change; nothing without codes.
  std::optional<EdgeDistance> edge;
};

// Both grid systems at a point of the grid frame, minute fields first.
std::vector<SystemCells> CellsAt(GeoPoint frame);

struct PointExplanation {
  GeoPoint wgs84;
  // The rest is nothing, or empty, when the geodetic library cannot transform
  // the point.
  std::optional<GeoPoint> frame;
  std::optional<DatumShift> shift;
  // PROJ's description of the operation used; also nothing when the library
  // does not describe its operations.
  std::optional<std::string> operation;
  std::vector<SystemCells> cells;
};

// The explanation of a WGS84 point, through the geodetic library.
PointExplanation ExplainPoint(GeoPoint wgs84);

}  // namespace velmora
