#pragma once

#include <cstdint>
#include <string>

#include "platform/errors.h"

namespace velmora {

// The entry points of the geodetic library GeoDLL32 that the conversion calls,
// with the argument widths the library expects. coordtrans3 takes the source
// coordinates A and B (longitude, then latitude), three codes naming the source
// system, the addresses of the results A and B and four codes naming the target
// system; it returns 0 on success.
using SetLanguageFunction = int (*)(int language);
using CoordTrans3Function = int (*)(double sourceA, double sourceB, std::int16_t sourceCode1,
                                    std::int16_t sourceCode2, std::int16_t sourceCode3,
                                    double* resultA, double* resultB, std::int16_t targetCode1,
                                    std::int16_t targetCode2, std::int16_t targetCode3,
                                    std::int16_t targetCode4);

// An entry point of our own stand-in library only, which GeoDLL32 does not
// export: for the same source coordinates and codes as coordtrans3, PROJ's
// description of the operation coordtrans3 applies, into a text of `size`
// bytes; coordtrans3's status.
using DescribeOperationFunction = int (*)(double sourceA, double sourceB, std::int16_t sourceCode1,
                                          std::int16_t sourceCode2, std::int16_t sourceCode3,
                                          std::int16_t targetCode1, std::int16_t targetCode2,
                                          std::int16_t targetCode3, std::int16_t targetCode4,
                                          char* text, int size);

// The process-wide slots. Calls go through these only. The slots hold either
// the library's functions or the fallbacks, which report that the function is
// not bound and leave every coordinate outside the grid. The description of
// the operation is optional and has no fallback: its slot is empty unless the
// library exports it.
struct GeodeticLibrarySlots {
  SetLanguageFunction setlanguage;
  CoordTrans3Function coordtrans3;
  DescribeOperationFunction describeOperation;
};

// The slots; the first use loads the library (LoadGeodeticLibrary) when no
// load has put anything into them yet, so a conversion needs no set-up.
const GeodeticLibrarySlots& GeodeticSlots();

// Loads libGeoDLL32.so by its plain file name (the usual dlopen search, which
// includes the RUNPATH of the program or module that carries this code) and
// binds the slots. When the library cannot be loaded the slots get the
// fallbacks and "Unable to load GeoDLL32.DLL" is shown once. Runs once per
// process, at the latest on the first use of the slots; later calls do
// nothing. The add-in module calls it while it is initialised, so that the
// message comes then.
void LoadGeodeticLibrary();

// The library could not be loaded or lacks its entry points.
class GeodeticLibraryError : public Exception {
 public:
  explicit GeodeticLibraryError(const std::string& cause)
      : Exception("cannot load the geodetic library: " + cause) {}
};

// The load of the command lines, which stop rather than run on the fallbacks:
// the one load of LoadGeodeticLibrary, without its message; throws
// GeodeticLibraryError with the loader's reason when the slots do not hold the
// library's own functions.
void RequireGeodeticLibrary();

// Whether both slots hold the library's own functions rather than the
// fallbacks: whether coordinates can be transformed at all, without a message
// (and so also on another thread than the dialog's).
bool IsGeodeticLibraryBound();

// What LoadGeodeticLibrary does, for the given file name, every time it is
// called: the binding it installs replaces the previous one. For tests.
void LoadGeodeticLibraryFrom(const std::string& fileName);

}  // namespace velmora
