#pragma once

#include <cstdint>

// The basic types of COM, with the sizes they have on Windows, so that a module
// and a host built separately agree on every parameter.

#define VELMORA_COM_API __attribute__((visibility("default")))

namespace velmora::com {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using WORD = std::uint16_t;
using BOOL = std::int32_t;
using LCID = DWORD;
using DISPID = LONG;

// Windows strings are UTF-16; char16_t keeps that layout on Linux, where
// wchar_t has 32 bits.
using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// An automation boolean: true has all 16 bits set.
using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr HRESULT MakeFailure(std::uint32_t code) { return static_cast<HRESULT>(code); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeFailure(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeFailure(0x80004002);
inline constexpr HRESULT E_POINTER = MakeFailure(0x80004003);
inline constexpr HRESULT E_FAIL = MakeFailure(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeFailure(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = MakeFailure(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeFailure(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeFailure(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeFailure(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = MakeFailure(0x80040150);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeFailure(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = MakeFailure(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeFailure(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeFailure(0x800401F9);
inline constexpr HRESULT CO_E_OBJNOTREG = MakeFailure(0x800401FB);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Where CoCreateInstance may look for a class.
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL = 0x17;

// How a class object registered by a running process may be used.
inline constexpr DWORD REGCLS_SINGLEUSE = 0;
inline constexpr DWORD REGCLS_MULTIPLEUSE = 1;

}  // namespace velmora::com
