#include "grid/geodll32.h"

#include <dlfcn.h>

#include <memory>
#include <mutex>

#include "platform/message_box.h"

namespace velmora {
namespace {

void ShowNotBound(const char* message) { ShowMessageBox({message, "", MessageIcon::None}); }

// The fallbacks keep the program running without the library. Their texts are
// the library binding's traditional ones, trailing blank included.
int SetLanguageFallback(int) {
  ShowNotBound("GeoDLL32 : Function setlanguage() not bound ");
  return 0;
}

int CoordTrans3Fallback(double, double, std::int16_t, std::int16_t, std::int16_t, double* resultA,
                        double* resultB, std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
  ShowNotBound("GeoDLL32 : Function coordtrans3() not bound ");
  *resultA = 0;
  *resultB = 0;
  return 0;
}

constexpr GeodeticLibrarySlots kFallbacks = {SetLanguageFallback, CoordTrans3Fallback};

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};
using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

struct Binding {
  LibraryHandle library;
  GeodeticLibrarySlots slots = kFallbacks;
};

Binding& ProcessBinding() {
  static Binding binding;
  return binding;
}

// A name the library does not export keeps its fallback, so a call through the
// slot reports the gap instead of jumping to address zero.
template <typename Function>
Function Lookup(void* library, const char* name, Function fallback) {
  void* address = dlsym(library, name);
  return address ? reinterpret_cast<Function>(address) : fallback;
}

}  // namespace

const GeodeticLibrarySlots& GeodeticSlots() { return ProcessBinding().slots; }

bool IsGeodeticLibraryBound() {
  const GeodeticLibrarySlots& slots = GeodeticSlots();
  return slots.setlanguage != kFallbacks.setlanguage && slots.coordtrans3 != kFallbacks.coordtrans3;
}

void LoadGeodeticLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { LoadGeodeticLibraryFrom("libGeoDLL32.so"); });
}

void LoadGeodeticLibraryFrom(const std::string& fileName) {
  Binding& binding = ProcessBinding();
  LibraryHandle library(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!library) {
    binding.slots = kFallbacks;
    binding.library.reset();
    ShowMessageBox({"Unable to load GeoDLL32.DLL", "", MessageIcon::None});
    return;
  }
  binding.slots.setlanguage = Lookup(library.get(), "setlanguage", kFallbacks.setlanguage);
  binding.slots.coordtrans3 = Lookup(library.get(), "coordtrans3", kFallbacks.coordtrans3);
  binding.library = std::move(library);
}

}  // namespace velmora
