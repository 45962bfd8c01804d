// The module's entry points: the four exports by which the host registers and
// loads it, and its initialisation, which binds the geodetic library and
// creates the class factory before the host can ask for anything.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <type_traits>

#include "addin/VelmoraMI.h"
#include "addin/Velmora_TLB.h"
#include "addin/registration.h"
#include "grid/geodll32.h"
#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "platform/errors.h"
#include "platform/ui/qt_message_box.h"

namespace velmora {
namespace {

using namespace velmora::com;

// The one class factory, for the life of the process.
class Module {
 public:
  Module() noexcept {
    try {
      InstallQtMessageBoxes();
      LoadGeodeticLibrary();
      factory_ =
          ComPtr<IClassFactory>(ClassFactory::Create([] { return NewComObject<TVelmoraMI>(); }));
    } catch (...) {
      // Without a factory DllGetClassObject answers E_OUTOFMEMORY.
    }
  }

  IClassFactory* Factory() const { return factory_.Get(); }
  bool IsFactoryLocked() const {
    return factory_ && ObjectOf<ClassFactory>(factory_.Get()).IsLocked();
  }

 private:
  ComPtr<IClassFactory> factory_;
};

const Module module;

// The module's own file, as the process loaded it.
std::string ModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || info.dli_fname == nullptr) {
    throw Exception("The add-in module cannot find its own file");
  }
  return std::filesystem::absolute(info.dli_fname).lexically_normal().string();
}

// Registration reports E_FAIL, with the reason as error info.
HRESULT UpdateClassRegistry(void (*change)(Registry&, const std::string&)) noexcept {
  try {
    const std::string path = ModulePath();
    UpdateRegistry([&](Registry& registry) { change(registry, path); });
    return S_OK;
  } catch (const std::exception& error) {
    try {
      SetErrorDescription(GUID_NULL, VelmoraMIProgId(), error.what());
    } catch (...) {
    }
    return E_FAIL;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace
}  // namespace velmora

using namespace velmora;
using namespace velmora::com;

extern "C" {

// The host passes the identifiers by address (DllGetClassObjectFunction); a
// null one is a caller's mistake to refuse, not an address to follow.
[[gnu::visibility("default")]] HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid,
                                                         void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid == nullptr || iid == nullptr) return E_INVALIDARG;
  if (*clsid != CLASS_VelmoraMI) return CLASS_E_CLASSNOTAVAILABLE;
  if (module.Factory() == nullptr) return E_OUTOFMEMORY;
  return QueryInterface(module.Factory(), *iid, object);
}
static_assert(std::is_same_v<decltype(&DllGetClassObject), DllGetClassObjectFunction>);

[[gnu::visibility("default")]] HRESULT DllCanUnloadNow() {
  return TVelmoraMI::Count() == 0 && !module.IsFactoryLocked() ? S_OK : S_FALSE;
}

[[gnu::visibility("default")]] HRESULT DllRegisterServer() {
  return UpdateClassRegistry(&RegisterServer);
}

[[gnu::visibility("default")]] HRESULT DllUnregisterServer() {
  return UpdateClassRegistry(
      [](Registry& registry, const std::string&) { UnregisterServer(registry); });
}

}  // extern "C"
