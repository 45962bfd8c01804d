#include "grid/coordinate_conversion.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "grid/frame_position.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "grid/sheet.h"
#include "grid/subdivision.h"

namespace velmora {
namespace {

// The library's codes of the database's WGS84 degrees and of the grid frame,
// DHDN geographic degrees; a source system has no fourth code.
struct SystemCodes {
  std::int16_t kind;
  std::int16_t reference;
  std::int16_t zone;
  std::int16_t zoneDetail;
};
constexpr SystemCodes kWgs84Codes{6, 10, 0, 0};
constexpr SystemCodes kFrameCodes{1, 17, 0, 0};

// A transformation through the library's own functions only: the fallbacks
// would show their messages and put the point at (0, 0).
std::optional<GeoPoint> TransformBound(GeoPoint point, SystemCodes source, SystemCodes target) {
  if (!IsGeodeticLibraryBound()) return std::nullopt;
  const GeodeticLibrarySlots& library = GeodeticSlots();
  library.setlanguage(2);
  GeoPoint result{NAN, NAN};
  const int status =
      library.coordtrans3(point.longitude, point.latitude, source.kind, source.reference,
                          source.zone, &result.longitude, &result.latitude, target.kind,
                          target.reference, target.zone, target.zoneDetail);
  if (status != 0 || !std::isfinite(result.latitude) || !std::isfinite(result.longitude)) {
    return std::nullopt;
  }
  return result;
}

std::string SheetPrefix(const FramePosition& position) {
  std::string code = FormatSheetNumber(position.row, position.column + 100);
  code += '/';
  return code;
}

}  // namespace

std::string QuadrantCellCode(double latitude, double longitude) {
  const std::optional<FramePosition> position = LocateInFrame(latitude, longitude, 1);
  if (!position) return {};
  std::string code = SheetPrefix(*position);
  AppendQuadrantDigits(code, position->CellRow(8), position->CellColumn(8), 3);
  return code;
}

std::string MinuteFieldCellCode(double latitude, double longitude) {
  const std::optional<FramePosition> position = LocateInFrame(latitude, longitude, 0);
  if (!position) return {};
  std::string code = SheetPrefix(*position);
  AppendMinuteFieldDigits(code, position->CellRow(6), position->CellColumn(10));
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
  return TransformBound(frame, kFrameCodes, kWgs84Codes);
}

std::optional<GeoPoint> Wgs84ToFrame(GeoPoint wgs84) {
  return TransformBound(wgs84, kWgs84Codes, kFrameCodes);
}

std::optional<std::string> FrameOperationOf(GeoPoint wgs84) {
  if (!IsGeodeticLibraryBound()) return std::nullopt;
  const GeodeticLibrarySlots& library = GeodeticSlots();
  if (!library.describeOperation) return std::nullopt;
  library.setlanguage(2);
  // PROJ's names of operations are some thirty characters.
  char text[512];
  const int status = library.describeOperation(
      wgs84.longitude, wgs84.latitude, kWgs84Codes.kind, kWgs84Codes.reference, kWgs84Codes.zone,
      kFrameCodes.kind, kFrameCodes.reference, kFrameCodes.zone, kFrameCodes.zoneDetail, text,
      static_cast<int>(sizeof text));
  if (status != 0) return std::nullopt;
  return std::string(text);
}

}  // namespace velmora
