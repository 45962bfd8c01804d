#pragma once

#include <string>

#include "platform/com/activation.h"

namespace velmora::testing {

// The four entry points of the add-in module of the build tree, which stays
// loaded until the test program ends.
struct AddinModule {
  com::DllGetClassObjectFunction DllGetClassObject;
  com::HRESULT (*DllCanUnloadNow)();
  com::HRESULT (*DllRegisterServer)();
  com::HRESULT (*DllUnregisterServer)();
};

// The module's file in the build tree.
std::string AddinModulePath();

// Loads the module (once) and looks its entry points up.
const AddinModule& LoadAddinModule();

// Whether the process has loaded the module.
bool IsAddinModuleLoaded();

}  // namespace velmora::testing
