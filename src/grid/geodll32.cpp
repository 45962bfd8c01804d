#include "grid/geodll32.h"

#include <dlfcn.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/message_box.h"

namespace velmora {
namespace {

constexpr const char* kLibraryFile = "libGeoDLL32.so";

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

constexpr GeodeticLibrarySlots kFallbacks = {SetLanguageFallback, CoordTrans3Fallback, nullptr};

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};
using LibraryHandle = std::unique_ptr<void, LibraryCloser>;

struct Binding {
  LibraryHandle library;  // none when the library could not be loaded
  GeodeticLibrarySlots slots = kFallbacks;
  std::string failure;  // the loader's reason when a slot holds its fallback
};

Binding& ProcessBinding() {
  static Binding binding;
  return binding;
}

// Whether a load has put its binding into the slots yet.
std::atomic<bool> bindingInstalled = false;

std::once_flag& TheLoad() {
  static std::once_flag once;
  return once;
}

std::string LoaderError() {
  const char* error = dlerror();
  return error ? error : "unknown error";
}

// A name the library does not export keeps its fallback, so a call through the
// slot reports the gap instead of jumping to address zero.
template <typename Function>
Function Lookup(Binding& binding, const char* name, Function fallback) {
  if (void* address = dlsym(binding.library.get(), name)) {
    return reinterpret_cast<Function>(address);
  }
  if (binding.failure.empty()) binding.failure = LoaderError();
  return fallback;
}

// Loads the library and looks up its entry points; shows nothing.
Binding Bind(const std::string& fileName) {
  Binding binding;
  binding.library.reset(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!binding.library) {
    binding.failure = LoaderError();
    return binding;
  }
  binding.slots.setlanguage = Lookup(binding, "setlanguage", kFallbacks.setlanguage);
  binding.slots.coordtrans3 = Lookup(binding, "coordtrans3", kFallbacks.coordtrans3);
  // Only our stand-in has it; its absence is no failure of the load.
  binding.slots.describeOperation = reinterpret_cast<DescribeOperationFunction>(
      dlsym(binding.library.get(), "velmora_describe_operation"));
  return binding;
}

// Replaces the binding in the slots; the library it held is closed.
void Install(Binding binding) {
  ProcessBinding() = std::move(binding);
  bindingInstalled.store(true, std::memory_order_release);
}

}  // namespace

const GeodeticLibrarySlots& GeodeticSlots() {
  if (!bindingInstalled.load(std::memory_order_acquire)) LoadGeodeticLibrary();
  return ProcessBinding().slots;
}

bool IsGeodeticLibraryBound() {
  const GeodeticLibrarySlots& slots = GeodeticSlots();
  return slots.setlanguage != kFallbacks.setlanguage && slots.coordtrans3 != kFallbacks.coordtrans3;
}

void LoadGeodeticLibrary() {
  std::call_once(TheLoad(), [] { LoadGeodeticLibraryFrom(kLibraryFile); });
}

void RequireGeodeticLibrary() {
  std::call_once(TheLoad(), [] { Install(Bind(kLibraryFile)); });
  if (!IsGeodeticLibraryBound()) throw GeodeticLibraryError(ProcessBinding().failure);
}

void LoadGeodeticLibraryFrom(const std::string& fileName) {
  Binding binding = Bind(fileName);
  const bool loaded = binding.library != nullptr;
  Install(std::move(binding));
  if (!loaded) ShowMessageBox({"Unable to load GeoDLL32.DLL", "", MessageIcon::None});
}

}  // namespace velmora
