#pragma once

// The entry points of libGeoDLL32.so, for programs that link it directly. The
// grid engine does not: it loads the library at run time and calls through its
// own slots.
#include <cstdint>

#define GEODLL32_EXPORT __attribute__((visibility("default")))

extern "C" {

// Accepted for any language; returns 0.
GEODLL32_EXPORT int setlanguage(int language);

// Transforms the source coordinates A and B (longitude, then latitude, degrees)
// from the system named by the three source codes to the one named by the four
// target codes. Served: 6, 10, 0 (WGS84 geographic) to 1, 17, 0, 0 (DHDN
// geographic). Status 0 on success; 1 for any other codes, 2 for a point that
// cannot be transformed; on failure both results are NaN.
GEODLL32_EXPORT int coordtrans3(double sourceA, double sourceB, std::int16_t sourceCode1,
                                std::int16_t sourceCode2, std::int16_t sourceCode3, double* resultA,
                                double* resultB, std::int16_t targetCode1, std::int16_t targetCode2,
                                std::int16_t targetCode3, std::int16_t targetCode4);

// This library's own addition, which GeoDLL32 does not export: PROJ's
// description of the operation coordtrans3 applies to the same point and
// codes ("Inverse of DHDN to WGS 84 (4), grid BETA2007.gsb, accuracy 1 m"),
// written into text as a NUL-terminated string of at most size bytes, cut
// where it is longer. The status is coordtrans3's; on failure the text is
// empty.
GEODLL32_EXPORT int velmora_describe_operation(double sourceA, double sourceB,
                                               std::int16_t sourceCode1, std::int16_t sourceCode2,
                                               std::int16_t sourceCode3, std::int16_t targetCode1,
                                               std::int16_t targetCode2, std::int16_t targetCode3,
                                               std::int16_t targetCode4, char* text, int size);
}
