#include "addin_module.h"

#include <dlfcn.h>

#include <stdexcept>

namespace velmora::testing {
namespace {

template <class Function>
Function Export(void* module, const char* name) {
  void* address = ::dlsym(module, name);
  if (address == nullptr) throw std::runtime_error(std::string("the module lacks ") + name);
  return reinterpret_cast<Function>(address);
}

AddinModule Load() {
  void* module = ::dlopen(VELMORA_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) throw std::runtime_error(::dlerror());
  return {Export<decltype(AddinModule::DllGetClassObject)>(module, "DllGetClassObject"),
          Export<decltype(AddinModule::DllCanUnloadNow)>(module, "DllCanUnloadNow"),
          Export<decltype(AddinModule::DllRegisterServer)>(module, "DllRegisterServer"),
          Export<decltype(AddinModule::DllUnregisterServer)>(module, "DllUnregisterServer")};
}

}  // namespace

std::string AddinModulePath() { return VELMORA_MODULE; }

const AddinModule& LoadAddinModule() {
  static const AddinModule module = Load();
  return module;
}

bool IsAddinModuleLoaded() {
  void* module = ::dlopen(VELMORA_MODULE, RTLD_NOW | RTLD_NOLOAD);
  if (module == nullptr) return false;
  ::dlclose(module);
  return true;
}

}  // namespace velmora::testing
