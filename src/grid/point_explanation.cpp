#include "grid/point_explanation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "grid/cell_geometry.h"
#include "grid/frame_position.h"

namespace velmora {
namespace {

// The Bessel 1841 ellipsoid of DHDN (EPSG:7004): semi-major axis a in metres
// and inverse flattening; e² = f(2 - f).
constexpr double kBesselA = 6377397.155;
constexpr double kBesselF = 1 / 299.1528128;
constexpr double kBesselE2 = kBesselF * (2 - kBesselF);

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// Degrees of latitude and longitude at the latitude as metres northwards and
// eastwards: M·Δφ and N·cos φ·Δλ, with the meridian radius M = a(1 - e²)/W³
// and the prime vertical radius N = a/W, W = √(1 - e² sin² φ).
GroundOffset BesselMetres(double latitude, double northDegrees, double eastDegrees) {
  const double phi = latitude * kRadiansPerDegree;
  const double w = std::sqrt(1 - kBesselE2 * std::sin(phi) * std::sin(phi));
  const double meridianRadius = kBesselA * (1 - kBesselE2) / (w * w * w);
  const double primeVerticalRadius = kBesselA / w;
  return {meridianRadius * northDegrees * kRadiansPerDegree,
          primeVerticalRadius * std::cos(phi) * eastDegrees * kRadiansPerDegree};
}

// The point lies inside its cell, so every distance is at least 0; a point
// on an edge may come out a rounding error beyond it.
EdgeDistance NearestEdge(GeoPoint frame, const FramePosition& position, SheetDivision division) {
  const FrameBounds cell =
      SheetCellFrameBounds(position.row, position.column, division, position.CellRow(division.rows),
                           position.CellColumn(division.columns));
  const GroundOffset northWest =
      BesselMetres(frame.latitude, cell.north - frame.latitude, frame.longitude - cell.west);
  const GroundOffset southEast =
      BesselMetres(frame.latitude, frame.latitude - cell.south, cell.east - frame.longitude);
  const EdgeDistance sides[] = {{northWest.north, CellSide::North},
                                {southEast.north, CellSide::South},
                                {northWest.east, CellSide::West},
                                {southEast.east, CellSide::East}};
  EdgeDistance nearest =
      *std::ranges::min_element(sides, {}, [](const EdgeDistance& side) { return side.metres; });
  nearest.metres = std::max(nearest.metres, 0.0);
  return nearest;
}

SystemCells CellsOfSystem(const GridSystemInfo& system, GeoPoint frame) {
  SystemCells cells{&system, {}, std::nullopt};
  const bool minuteFields = system.code == kMinuteFieldSystemCode;
  const std::string code = minuteFields ? MinuteFieldCellCode(frame.latitude, frame.longitude)
                                        : QuadrantCellCode(frame.latitude, frame.longitude);
  if (code.empty()) return cells;
  const GridTypeInfo* finest = nullptr;
  for (const GridTypeInfo& type : kGridTypes) {
    if (!system.offersGridType[type.item]) continue;
    cells.codes.push_back(code.substr(0, type.codeLength + (code.starts_with('W') ? 1 : 0)));
    finest = &type;
  }
  // A code was made, so the point lies in a sheet of the system.
  const std::optional<FramePosition> position = LocateInFrame(frame.latitude, frame.longitude, 0);
  cells.edge = NearestEdge(frame, *position, finest->division);
  return cells;
}

}  // namespace

std::vector<SystemCells> CellsAt(GeoPoint frame) {
  std::vector<SystemCells> all;
  for (const GridSystemInfo& system : kGridSystems) all.push_back(CellsOfSystem(system, frame));
  return all;
}

PointExplanation ExplainPoint(GeoPoint wgs84) {
  PointExplanation explanation{wgs84, Wgs84ToFrame(wgs84), std::nullopt, std::nullopt, {}};
  if (!explanation.frame) return explanation;
  const GeoPoint frame = *explanation.frame;
  const double north = frame.latitude - wgs84.latitude;
  const double east = std::remainder(frame.longitude - wgs84.longitude, 360.0);
  explanation.shift = DatumShift{north, east, BesselMetres(frame.latitude, north, east)};
  explanation.operation = FrameOperationOf(wgs84);
  explanation.cells = CellsAt(frame);
  return explanation;
}

}  // namespace velmora
