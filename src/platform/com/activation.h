#pragma once

#include "platform/com/interfaces.h"

// Finding and creating objects by class. A running process offers its classes
// with CoRegisterClassObject; CoCreateInstance asks those first, then the
// class's in-process module named in the registry (the default value of
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32), which it loads and asks
// through its exported DllGetClassObject. Modules stay loaded until the process
// ends, as the objects they made may live that long.

namespace velmora::com {

// The export every in-process module offers. It takes the identifiers by
// address, as a caller in C passes them, so that it can refuse null ones.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID* clsid, const IID* iid, void** object);
inline constexpr const char* kDllGetClassObject = "DllGetClassObject";

extern "C" {
// The CLSID of a ProgID: the default value of HKEY_CLASSES_ROOT\<ProgID>\Clsid.
// CO_E_CLASSSTRING when the ProgID is unknown or its CLSID malformed.
VELMORA_COM_API HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid);

// Offers a class object to this process until it is revoked; it keeps a
// reference to `classObject`.
VELMORA_COM_API HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, DWORD context,
                                              DWORD flags, DWORD* cookie);
VELMORA_COM_API HRESULT CoRevokeClassObject(DWORD cookie);

VELMORA_COM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid,
                                         void** object);
VELMORA_COM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                         void** object);
}

}  // namespace velmora::com
