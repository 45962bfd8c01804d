#include "grid/coordinate_conversion.h"

#include <cmath>
#include <optional>

#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "grid/sheet.h"
#include "grid/subdivision.h"

namespace velmora {
namespace {

// Where a grid-frame point lies: its sheet row and column (negative west of
// 5°40' E) and its position inside the sheet, from the north-west corner.
struct SheetPosition {
  int row;
  int column;
  double rowFraction;
  double columnFraction;
};

// Sheet row 9 begins at 55°06' N and rows are 6' high; sheet column 1 begins
// at 5°50' E and columns are 10' wide. The division by 0.1 stays a division:
// a multiplication by 10 can differ in the last bit, which decides on which
// side of a row boundary a point falls, and stored cell codes depend on it.
std::optional<SheetPosition> Locate(double latitude, double longitude, int firstRow) {
  const double rowValue = (55.1 - latitude) / 0.1 + 9;
  const double columnValue = (longitude - 35.0 / 6.0) * 6 + 1;
  const double row = std::floor(rowValue);
  const double column = std::floor(columnValue);
  // Compared as floating-point numbers, so that NaN, infinities and values far
  // beyond the integer range fall out here before any conversion to int.
  if (!(row >= firstRow && row <= 99 && column >= -99 && column <= 99)) return std::nullopt;
  return SheetPosition{static_cast<int>(row), static_cast<int>(column), rowValue - row,
                       columnValue - column};
}

// The 0-based cell of a division into `parts` along one side of the sheet.
int CellIndex(double fraction, int parts) { return static_cast<int>(fraction * parts); }

std::string SheetPrefix(const SheetPosition& position) {
  std::string code = FormatSheetNumber(position.row, position.column + 100);
  code += '/';
  return code;
}

}  // namespace

std::string QuadrantCellCode(double latitude, double longitude) {
  const std::optional<SheetPosition> position = Locate(latitude, longitude, 1);
  if (!position) return {};
  std::string code = SheetPrefix(*position);
  AppendQuadrantDigits(code, CellIndex(position->rowFraction, 8),
                       CellIndex(position->columnFraction, 8), 3);
  return code;
}

std::string MinuteFieldCellCode(double latitude, double longitude) {
  const std::optional<SheetPosition> position = Locate(latitude, longitude, 0);
  if (!position) return {};
  std::string code = SheetPrefix(*position);
  AppendMinuteFieldDigits(code, CellIndex(position->rowFraction, 6),
                          CellIndex(position->columnFraction, 10));
  return code;
}

std::string CoordinateToCellCode(std::string_view gridSystemCode, double latitude,
                                 double longitude) {
  // The library takes a longitude a turn too far round into the sheets (367.2
  // to 7.2) but not two: a point outside the globe is no point of any cell.
  if (!(std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180)) return {};
  const GeodeticLibrarySlots& library = GeodeticSlots();
  library.setlanguage(2);
  // A failed transformation leaves NaN, which no sheet contains. The status
  // is not needed beyond that.
  double frameLongitude = NAN;
  double frameLatitude = NAN;
  library.coordtrans3(longitude, latitude, 6, 10, 0, &frameLongitude, &frameLatitude, 1, 17, 0, 0);
  if (gridSystemCode == kMinuteFieldSystemCode) {
    return MinuteFieldCellCode(frameLatitude, frameLongitude);
  }
  return QuadrantCellCode(frameLatitude, frameLongitude);
}

std::optional<GeoPoint> FrameToWgs84(GeoPoint frame) {
  // The fallback would show its message and put the point at (0, 0).
  if (!IsGeodeticLibraryBound()) return std::nullopt;
  const GeodeticLibrarySlots& library = GeodeticSlots();
  library.setlanguage(2);
  GeoPoint wgs84{NAN, NAN};
  const int status = library.coordtrans3(frame.longitude, frame.latitude, 1, 17, 0,
                                         &wgs84.longitude, &wgs84.latitude, 6, 10, 0, 0);
  if (status != 0 || !std::isfinite(wgs84.latitude) || !std::isfinite(wgs84.longitude)) {
    return std::nullopt;
  }
  return wgs84;
}

}  // namespace velmora
