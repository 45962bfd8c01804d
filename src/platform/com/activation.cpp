#include "platform/com/activation.h"

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"

namespace velmora::com {
namespace {

struct RegisteredClass {
  CLSID clsid;
  ComPtr<IUnknown> classObject;
  DWORD flags;
};

struct ModuleCloser {
  void operator()(void* module) const { ::dlclose(module); }
};
using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

// The classes offered by this process and the modules loaded into it.
class ClassTable {
 public:
  static ClassTable& Instance() {
    static ClassTable table;
    return table;
  }

  DWORD Register(REFCLSID clsid, IUnknown* classObject, DWORD flags) {
    AddRef(classObject);
    std::lock_guard lock(mutex_);
    const DWORD cookie = nextCookie_++;
    classes_.emplace(cookie, RegisteredClass{clsid, ComPtr<IUnknown>(classObject), flags});
    return cookie;
  }

  // The class object leaves the table before it is released, outside the lock.
  bool Revoke(DWORD cookie) {
    ComPtr<IUnknown> released;
    std::lock_guard lock(mutex_);
    const auto entry = classes_.find(cookie);
    if (entry == classes_.end()) return false;
    released = std::move(entry->second.classObject);
    classes_.erase(entry);
    return true;
  }

  // A single-use class object serves one request and is then withdrawn.
  ComPtr<IUnknown> Find(REFCLSID clsid) {
    std::lock_guard lock(mutex_);
    for (auto entry = classes_.begin(); entry != classes_.end(); ++entry) {
      if (entry->second.clsid != clsid) continue;
      ComPtr<IUnknown> found = entry->second.classObject;
      if (entry->second.flags == REGCLS_SINGLEUSE) classes_.erase(entry);
      return found;
    }
    return {};
  }

  // Loads a module once; null when it cannot be loaded.
  void* Module(const std::string& path) {
    std::lock_guard lock(mutex_);
    ModuleHandle& module = modules_[path];
    if (!module) module.reset(::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    return module.get();
  }

 private:
  std::mutex mutex_;
  DWORD nextCookie_ = 1;
  // Declared first so that at exit the class objects go before their modules.
  std::map<std::string, ModuleHandle> modules_;
  std::map<DWORD, RegisteredClass> classes_;
};

std::string ClassKey(REFCLSID clsid) {
  return std::string(kClassesRoot) + "\\CLSID\\" + FormatGuid(clsid);
}

HRESULT InprocClassObject(REFCLSID clsid, REFIID iid, void** object) {
  std::optional<std::string> path;
  try {
    path = Registry::Load(RegistryFilePath()).Value(ClassKey(clsid) + "\\InprocServer32");
  } catch (const RegistryError&) {
    return REGDB_E_READREGDB;
  }
  if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
  void* module = ClassTable::Instance().Module(*path);
  if (module == nullptr) return CO_E_DLLNOTFOUND;
  auto getClassObject =
      reinterpret_cast<DllGetClassObjectFunction>(::dlsym(module, kDllGetClassObject));
  if (getClassObject == nullptr) return CO_E_ERRORINDLL;
  const HRESULT hr = getClassObject(&clsid, &iid, object);
  if (FAILED(hr)) *object = nullptr;
  // A module that claims success without an object would have its caller
  // call through a null table.
  if (SUCCEEDED(hr) && *object == nullptr) return CO_E_ERRORINDLL;
  return hr;
}

}  // namespace

extern "C" {

HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid) {
  if (progId == nullptr || clsid == nullptr) return E_INVALIDARG;
  *clsid = GUID_NULL;
  const std::string key =
      std::string(kClassesRoot) + '\\' + Utf16ToUtf8(std::u16string_view(progId)) + "\\Clsid";
  std::optional<std::string> text;
  try {
    text = Registry::Load(RegistryFilePath()).Value(key);
  } catch (const RegistryError&) {
    return REGDB_E_READREGDB;
  }
  const std::optional<GUID> parsed = text ? ParseGuid(*text) : std::nullopt;
  if (!parsed) return CO_E_CLASSSTRING;
  *clsid = *parsed;
  return S_OK;
}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* classObject, DWORD, DWORD flags,
                              DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (classObject == nullptr) return E_INVALIDARG;
  return Guarded([&] {
    *cookie = ClassTable::Instance().Register(clsid, classObject, flags);
    return S_OK;
  });
}

HRESULT CoRevokeClassObject(DWORD cookie) {
  return ClassTable::Instance().Revoke(cookie) ? S_OK : CO_E_OBJNOTREG;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return Guarded([&] {
    if (ComPtr<IUnknown> running = ClassTable::Instance().Find(clsid)) {
      return QueryInterface(running.Get(), iid, object);
    }
    if (context & CLSCTX_INPROC_SERVER) return InprocClassObject(clsid, iid, object);
    return REGDB_E_CLASSNOTREG;
  });
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  const HRESULT hr =
      CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, factory.OutVoid());
  if (FAILED(hr)) return hr;
  const HRESULT created = factory->vtbl->CreateInstance(factory.Get(), outer, iid, object);
  if (FAILED(created)) *object = nullptr;
  return created;
}

}  // extern "C"

}  // namespace velmora::com
