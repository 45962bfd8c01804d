// A geodetic library with GeoDLL32's own entry points only, as the outside
// party's library has them: it does not describe its operations. Its
// transformation leaves every point where it is.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int setlanguage(int /*language*/) { return 0; }

extern "C" __attribute__((visibility("default"))) int coordtrans3(
    double sourceA, double sourceB, std::int16_t, std::int16_t, std::int16_t, double* resultA,
    double* resultB, std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
  *resultA = sourceA;
  *resultB = sourceB;
  return 0;
}
