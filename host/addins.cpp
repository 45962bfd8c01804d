#include "host/addins.h"

#include <dlfcn.h>

#include "host_interfaces/host_registry.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "platform/errors.h"

namespace velmora::host {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

using RegisterServerFunction = HRESULT (*)();

std::string ClassesKey() { return std::string(kClassesRoot) + "\\CLSID"; }

// The failure's description as its source left it, else the system's text.
std::string FailureText(HRESULT code) {
  const std::optional<ErrorDescription> error = TakeErrorDescription();
  if (error && !error->description.empty()) return error->description;
  return ResultCodeMessage(code);
}

void RegisterModule(const fs::path& module) {
  // Modules stay loaded until the process ends, as in the class table: the
  // objects they make may live that long.
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    throw Exception("Cannot load the add-in " + module.string() + ": " + ::dlerror());
  }
  auto registerServer =
      reinterpret_cast<RegisterServerFunction>(::dlsym(handle, "DllRegisterServer"));
  if (registerServer == nullptr) {
    throw Exception(module.string() + " is no add-in module: it cannot register itself");
  }
  if (const HRESULT hr = registerServer(); FAILED(hr)) {
    throw Exception("Registering the add-in " + module.string() + " failed: " + FailureText(hr));
  }
}

// The classes whose in-process server is the module.
std::vector<CLSID> ClassesServedBy(const Registry& registry, const fs::path& module) {
  std::vector<CLSID> classes;
  for (const std::string& name : registry.SubKeys(ClassesKey())) {
    const std::optional<std::string> server =
        registry.Value(ClassesKey() + '\\' + name + "\\InprocServer32");
    const std::optional<GUID> clsid = ParseGuid(name);
    std::error_code error;
    if (clsid && server && fs::equivalent(*server, module, error)) classes.push_back(*clsid);
  }
  return classes;
}

bool IsAddin(REFCLSID clsid) {
  ComPtr<IHostAddinInfo> info;
  return SUCCEEDED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IHostAddinInfo, info.OutVoid()));
}

template <class Interface>
std::string Text(HRESULT (*get)(Interface*, BSTR*), Interface* object) {
  BStr text;
  ThrowIfFailed(get(object, text.Out()));
  return text.Utf8();
}

void ReadMenuItem(IHostMenuItem& menu, Addin& addin) {
  addin.menuCaption = Text(menu.vtbl->MenuCaption, &menu);
  addin.menuHint = Text(menu.vtbl->MenuHint, &menu);
  addin.menuParent = Text(menu.vtbl->MenuParentName, &menu);
  VARIANT_BOOL enabled = VARIANT_FALSE;
  ThrowIfFailed(menu.vtbl->MenuEnabled(&menu, &enabled));
  addin.menuEnabled = enabled != VARIANT_FALSE;
  addin.hasMenuItem = true;
}

Addin LoadAddin(REFCLSID clsid) {
  Addin addin{clsid, FormatGuid(clsid), "", "", false, "", "", "", false, {}};
  try {
    ComPtr<IHostAddinInfo> info;
    ThrowIfFailed(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IHostAddinInfo, info.OutVoid()));
    addin.name = Text(info->vtbl->AddinName, info.Get());
    addin.description = Text(info->vtbl->AddinDescription, info.Get());
    if (ComPtr<IHostMenuItem> menu;
        SUCCEEDED(QueryInterface(info.Get(), IID_IHostMenuItem, menu.OutVoid()))) {
      ReadMenuItem(*menu.Get(), addin);
    }
    QueryInterface(info.Get(), IID_IHostAction, addin.action.OutVoid());
  } catch (const ComError& error) {
    addin.failure = FailureText(error.Code());
    addin.hasMenuItem = false;
    addin.action.Reset();
  }
  return addin;
}

}  // namespace

std::string InstalledAddinsKey() { return std::string(kHostSettingsKey) + "\\Installed Addins"; }

std::vector<CLSID> InstallAddin(const fs::path& module) {
  const fs::path path = fs::absolute(module).lexically_normal();
  RegisterModule(path);
  std::vector<CLSID> addins;
  for (const CLSID& clsid : ClassesServedBy(Registry::Load(RegistryFilePath()), path)) {
    if (IsAddin(clsid)) addins.push_back(clsid);
  }
  if (addins.empty()) throw Exception(path.string() + " holds no add-in for this host");
  UpdateRegistry([&](Registry& registry) {
    for (const CLSID& clsid : addins) {
      registry.SetValue(InstalledAddinsKey() + '\\' + FormatGuid(clsid), "", path.string());
    }
  });
  return addins;
}

std::vector<Addin> LoadInstalledAddins() {
  std::vector<Addin> addins;
  for (const std::string& name : Registry::Load(RegistryFilePath()).SubKeys(InstalledAddinsKey())) {
    if (const std::optional<GUID> clsid = ParseGuid(name)) addins.push_back(LoadAddin(*clsid));
  }
  return addins;
}

std::optional<std::string> ExecuteAddin(IHostAction& action) {
  // Error info left over from an earlier failure must not pass for this one's.
  TakeErrorDescription();
  const HRESULT hr = action.vtbl->Execute(&action);
  if (SUCCEEDED(hr)) return std::nullopt;
  return FailureText(hr);
}

}  // namespace velmora::host
