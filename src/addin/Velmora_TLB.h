#pragma once

#include <string>
#include <string_view>

#include "platform/com/guid.h"
#include "platform/com/interfaces.h"

// The module's type library: the library Velmora, its dispatch interface
// IVelmoraMI and its one class VelmoraMI. Windows keeps these items as a
// resource of the module that its registration reads; this platform has no
// type library format, so the module carries them as data, and its
// registration, its class factory and its error reports read them from here.

namespace velmora {

// The add-in's own interface: dual, derived from IDispatch, with no
// operations of its own.
struct IVelmoraMI;
struct IVelmoraMIVtbl {
  com::IDispatchVtbl dispatch;
};
struct IVelmoraMI {
  const IVelmoraMIVtbl* vtbl;
};

inline constexpr com::GUID LIBID_Velmora{
    0x83B55A1F, 0x7729, 0x49AC, {0xAB, 0x5A, 0x7D, 0x42, 0x3A, 0xF5, 0xD9, 0x38}};
inline constexpr com::IID IID_IVelmoraMI{
    0x89E2AF0A, 0x40A3, 0x44CC, {0xA8, 0xEE, 0xD1, 0x34, 0x23, 0x4F, 0x8D, 0xA2}};
inline constexpr com::CLSID CLASS_VelmoraMI{
    0x31A2653D, 0x33B7, 0x4A09, {0x86, 0xEC, 0x1B, 0x55, 0x45, 0x06, 0x7F, 0x3E}};

struct TypeLibVersion {
  com::WORD major;
  com::WORD minor;
};

// The platform a type library was made for, as its registration names it.
enum class SysKind { Win16, Win32, Mac, Win64 };

// Type flags (TYPEFLAGS) of interfaces and classes.
inline constexpr com::WORD TYPEFLAG_FCANCREATE = 0x2;
inline constexpr com::WORD TYPEFLAG_FDUAL = 0x40;
inline constexpr com::WORD TYPEFLAG_FOLEAUTOMATION = 0x100;
inline constexpr com::WORD TYPEFLAG_FDISPATCHABLE = 0x1000;

struct LibraryItem {
  std::string_view name;
  std::string_view helpString;
  com::GUID libid;
  TypeLibVersion version;
  com::LCID locale;
  SysKind sysKind;
};

struct ImportedLibrary {
  std::string_view file;
  std::string_view helpString;
  com::GUID libid;
  TypeLibVersion version;
};

struct InterfaceItem {
  std::string_view name;
  std::string_view helpString;
  com::IID iid;
  TypeLibVersion version;
  com::WORD flags;
  com::IID base;
};

struct CoclassItem {
  std::string_view name;
  std::string_view helpString;
  com::CLSID clsid;
  TypeLibVersion version;
  com::WORD flags;
  com::IID defaultInterface;
};

struct TypeLibrary {
  LibraryItem library;
  ImportedLibrary imports;
  InterfaceItem dispatchInterface;
  CoclassItem coclass;
};

inline constexpr com::GUID LIBID_StdOle{
    0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

inline constexpr TypeLibrary kVelmoraTypeLibrary{
    {"Velmora", "Velmora Library", LIBID_Velmora, {1, 0}, 0, SysKind::Win32},
    {"stdole2.tlb", "OLE Automation", LIBID_StdOle, {2, 0}},
    {"IVelmoraMI",
     "Dispatch interface for VelmoraMI Object",
     IID_IVelmoraMI,
     {1, 0},
     TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE,
     com::IID_IDispatch},
    {"VelmoraMI", "VelmoraMI Object", CLASS_VelmoraMI, {1, 0}, TYPEFLAG_FCANCREATE, IID_IVelmoraMI},
};

// "Velmora.VelmoraMI": the library's name, ".", the class's name.
std::string VelmoraMIProgId();

// The class's description: its help string.
std::string VelmoraMIDescription();

// "1.0".
std::string VersionText(TypeLibVersion version);

}  // namespace velmora
