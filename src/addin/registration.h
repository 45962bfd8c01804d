#pragma once

#include <string>

#include "platform/com/registry.h"

namespace velmora {

// Enters the class VelmoraMI, served by the module at `modulePath`, and the
// module's type library, as Windows' class and type library registration do:
// under HKEY_CLASSES_ROOT the keys CLSID\{clsid} (with InprocServer32,
// ProgID, Version, TypeLib), the ProgID with its Clsid, TypeLib\{libid}\1.0
// and Interface\{iid} of the dispatch interface.
void RegisterServer(com::Registry& registry, const std::string& modulePath);

// Removes exactly what RegisterServer enters, and the type library's key
// when no other version of it remains.
void UnregisterServer(com::Registry& registry);

}  // namespace velmora
