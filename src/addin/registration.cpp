#include "addin/registration.h"

#include <cstdio>
#include <filesystem>

#include "addin/Velmora_TLB.h"

namespace velmora {
namespace {

using com::FormatGuid;
using com::kClassesRoot;

// The proxy of every automation-compatible interface (PSOAInterface).
constexpr com::CLSID kAutomationProxy{
    0x00020424, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::string Root(const std::string& key) { return std::string(kClassesRoot) + '\\' + key; }

std::string ClassKey() { return Root("CLSID\\" + FormatGuid(kVelmoraTypeLibrary.coclass.clsid)); }

std::string ProgIdKey() { return Root(VelmoraMIProgId()); }

std::string TypeLibKey() {
  return Root("TypeLib\\" + FormatGuid(kVelmoraTypeLibrary.library.libid));
}

std::string TypeLibVersionKey() {
  return TypeLibKey() + '\\' + VersionText(kVelmoraTypeLibrary.library.version);
}

std::string InterfaceKey() {
  return Root("Interface\\" + FormatGuid(kVelmoraTypeLibrary.dispatchInterface.iid));
}

const char* SysKindKey(SysKind kind) {
  switch (kind) {
    case SysKind::Win16:
      return "win16";
    case SysKind::Mac:
      return "mac";
    case SysKind::Win64:
      return "win64";
    case SysKind::Win32:
      break;
  }
  return "win32";
}

std::string HexText(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

void RegisterTypeLibrary(com::Registry& registry, const std::string& modulePath) {
  const LibraryItem& library = kVelmoraTypeLibrary.library;
  const std::string key = TypeLibVersionKey();
  registry.SetValue(key, "", library.helpString);
  registry.SetValue(key + '\\' + HexText(library.locale) + '\\' + SysKindKey(library.sysKind), "",
                    modulePath);
  registry.SetValue(key + "\\FLAGS", "", "0");
  registry.SetValue(key + "\\HELPDIR", "",
                    std::filesystem::path(modulePath).parent_path().string());

  // Automation-compatible interfaces are marshalled by the standard proxy
  // from the type library's description.
  const InterfaceItem& dispatch = kVelmoraTypeLibrary.dispatchInterface;
  const std::string proxy = FormatGuid(kAutomationProxy);
  registry.SetValue(InterfaceKey(), "", dispatch.name);
  registry.SetValue(InterfaceKey() + "\\ProxyStubClsid", "", proxy);
  registry.SetValue(InterfaceKey() + "\\ProxyStubClsid32", "", proxy);
  registry.SetValue(InterfaceKey() + "\\TypeLib", "", FormatGuid(library.libid));
  registry.SetValue(InterfaceKey() + "\\TypeLib", "Version", VersionText(library.version));
}

void RegisterClass(com::Registry& registry, const std::string& modulePath) {
  const std::string description = VelmoraMIDescription();
  const std::string clsid = FormatGuid(kVelmoraTypeLibrary.coclass.clsid);
  registry.SetValue(ClassKey(), "", description);
  registry.SetValue(ClassKey() + "\\InprocServer32", "", modulePath);
  registry.SetValue(ClassKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
  registry.SetValue(ClassKey() + "\\ProgID", "", VelmoraMIProgId());
  registry.SetValue(ClassKey() + "\\Version", "", VersionText(kVelmoraTypeLibrary.coclass.version));
  registry.SetValue(ClassKey() + "\\TypeLib", "", FormatGuid(kVelmoraTypeLibrary.library.libid));
  registry.SetValue(ProgIdKey(), "", description);
  registry.SetValue(ProgIdKey() + "\\Clsid", "", clsid);
}

}  // namespace

void RegisterServer(com::Registry& registry, const std::string& modulePath) {
  RegisterTypeLibrary(registry, modulePath);
  RegisterClass(registry, modulePath);
}

void UnregisterServer(com::Registry& registry) {
  registry.DeleteKey(ClassKey());
  registry.DeleteKey(ProgIdKey());
  registry.DeleteKey(InterfaceKey());
  registry.DeleteKey(TypeLibVersionKey());
  if (registry.SubKeys(TypeLibKey()).empty()) registry.DeleteKey(TypeLibKey());
}

}  // namespace velmora
