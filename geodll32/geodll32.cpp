// libGeoDLL32.so: the geodetic library that the grid engine loads at run time.
// It provides the one transformation the program asks for, WGS84 geographic
// coordinates to geographic coordinates on DHDN (Potsdam datum, Bessel
// ellipsoid), the frame of the MTB sheet grid. PROJ chooses the operation per
// point: the BETA2007 grid shift of the German surveying authorities (AdV)
// where it covers the point, its next best operation elsewhere.
#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "GeoDLL32.h"
#include "dhdn_transformation.h"
#include "grid/geodll32.h"

namespace {

// The codes with which the grid engine asks for WGS84 geographic degrees
// (source) to DHDN geographic degrees (target); the only ones served.
bool IsWgs84ToDhdn(std::int16_t sourceCode1, std::int16_t sourceCode2, std::int16_t sourceCode3,
                   std::int16_t targetCode1, std::int16_t targetCode2, std::int16_t targetCode3,
                   std::int16_t targetCode4) {
  return sourceCode1 == 6 && sourceCode2 == 10 && sourceCode3 == 0 && targetCode1 == 1 &&
         targetCode2 == 17 && targetCode3 == 0 && targetCode4 == 0;
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
  if (!IsWgs84ToDhdn(sourceCode1, sourceCode2, sourceCode3, targetCode1, targetCode2, targetCode3,
                     targetCode4)) {
    return 1;
  }
  const std::optional<geodll32::GeographicPoint> dhdn =
      geodll32::Wgs84ToDhdn({.latitude = sourceB, .longitude = sourceA});
  if (!dhdn) return 2;
  *resultA = dhdn->longitude;
  *resultB = dhdn->latitude;
  return 0;
}

// The grid engine calls through these types; a mismatch would break the call.
static_assert(std::is_same_v<decltype(&setlanguage), velmora::SetLanguageFunction>);
static_assert(std::is_same_v<decltype(&coordtrans3), velmora::CoordTrans3Function>);
