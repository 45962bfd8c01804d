// libGeoDLL32.so: the geodetic library that the grid engine loads at run time.
// It provides the transformation the program asks for, WGS84 geographic
// coordinates to geographic coordinates on DHDN (Potsdam datum, Bessel
// ellipsoid), the frame of the MTB sheet grid, and its inverse, which takes
// the grid's cells back to WGS84 for GIS data. PROJ chooses the operation per
// point: the BETA2007 grid shift of the German surveying authorities (AdV)
// where it covers the point, its next best operation elsewhere. Beyond the
// entry points of GeoDLL32 it says which operation that was.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

#include "GeoDLL32.h"
#include "dhdn_transformation.h"
#include "grid/geodll32.h"

namespace {

// The systems served, by their codes: the first names the kind of
// coordinates, the second the reference system, the rest a zone (none here).
struct SystemCodes {
  std::int16_t kind;
  std::int16_t reference;
  std::int16_t zone;
  std::int16_t zoneDetail;

  bool operator==(const SystemCodes&) const = default;
};

// WGS84 geographic degrees, as the grid engine names the database's points,
// and DHDN geographic degrees, the frame of the sheet grid. A source gives no
// fourth code.
constexpr SystemCodes kWgs84{6, 10, 0, 0};
constexpr SystemCodes kDhdn{1, 17, 0, 0};

// Which way between the two served systems the codes ask for; nothing for any
// other codes.
std::optional<geodll32::Direction> DirectionOf(SystemCodes source, SystemCodes target) {
  if (source == kWgs84 && target == kDhdn) return geodll32::Direction::Wgs84ToDhdn;
  if (source == kDhdn && target == kWgs84) return geodll32::Direction::DhdnToWgs84;
  return std::nullopt;
}

}  // namespace

// The language would choose the wording of the library's messages; it has none.
int setlanguage(int /*language*/) { return 0; }

int coordtrans3(double sourceA, double sourceB, std::int16_t sourceCode1, std::int16_t sourceCode2,
                std::int16_t sourceCode3, double* resultA, double* resultB,
                std::int16_t targetCode1, std::int16_t targetCode2, std::int16_t targetCode3,
                std::int16_t targetCode4) {
  *resultA = NAN;
  *resultB = NAN;
  const std::optional<geodll32::Direction> direction =
      DirectionOf({sourceCode1, sourceCode2, sourceCode3, 0},
                  {targetCode1, targetCode2, targetCode3, targetCode4});
  if (!direction) return 1;
  const std::optional<geodll32::GeographicPoint> result =
      geodll32::Transform({.latitude = sourceB, .longitude = sourceA}, *direction);
  if (!result) return 2;
  *resultA = result->longitude;
  *resultB = result->latitude;
  return 0;
}

int velmora_describe_operation(double sourceA, double sourceB, std::int16_t sourceCode1,
                               std::int16_t sourceCode2, std::int16_t sourceCode3,
                               std::int16_t targetCode1, std::int16_t targetCode2,
                               std::int16_t targetCode3, std::int16_t targetCode4, char* text,
                               int size) {
  if (size > 0) *text = '\0';
  const std::optional<geodll32::Direction> direction =
      DirectionOf({sourceCode1, sourceCode2, sourceCode3, 0},
                  {targetCode1, targetCode2, targetCode3, targetCode4});
  if (!direction) return 1;
  const std::optional<std::string> description =
      geodll32::DescribeOperation({.latitude = sourceB, .longitude = sourceA}, *direction);
  if (!description) return 2;
  if (size > 0) {
    const size_t length = std::min(description->size(), static_cast<size_t>(size) - 1);
    description->copy(text, length);
    text[length] = '\0';
  }
  return 0;
}

// The grid engine calls through these types; a mismatch would break the call.
static_assert(std::is_same_v<decltype(&setlanguage), velmora::SetLanguageFunction>);
static_assert(std::is_same_v<decltype(&coordtrans3), velmora::CoordTrans3Function>);
static_assert(
    std::is_same_v<decltype(&velmora_describe_operation), velmora::DescribeOperationFunction>);
