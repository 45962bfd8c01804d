#pragma once

#include "platform/com/guid.h"
#include "platform/com/types.h"

// The standard COM interfaces as Windows lays them out: an interface pointer
// points at a pointer to a table of functions, each taking the interface pointer
// first. A derived interface's table begins with its base's table, so every
// table starts with the three IUnknown slots, an automation interface's with the
// four IDispatch slots after them, and its own operations follow in order.
// Tables are plain structs of function pointers so that a module and a host that
// were built separately call the same slots.

namespace velmora::com {

// Type information and late-bound calls are not offered by this platform; their
// parameter types stay opaque and the slots answer E_NOTIMPL.
struct ITypeInfo;
struct DISPPARAMS;
struct VARIANT;
struct EXCEPINFO;

struct IUnknown;
struct IUnknownVtbl {
  HRESULT (*QueryInterface)(IUnknown* self, REFIID iid, void** object);
  ULONG (*AddRef)(IUnknown* self);
  ULONG (*Release)(IUnknown* self);
};
struct IUnknown {
  const IUnknownVtbl* vtbl;
};

struct IDispatch;
struct IDispatchVtbl {
  IUnknownVtbl unknown;
  HRESULT (*GetTypeInfoCount)(IDispatch* self, UINT* count);
  HRESULT (*GetTypeInfo)(IDispatch* self, UINT index, LCID locale, ITypeInfo** info);
  HRESULT(*GetIDsOfNames)
  (IDispatch* self, REFIID reserved, OLECHAR** names, UINT count, LCID locale, DISPID* ids);
  HRESULT(*Invoke)
  (IDispatch* self, DISPID id, REFIID reserved, LCID locale, WORD flags, DISPPARAMS* arguments,
   VARIANT* result, EXCEPINFO* exception, UINT* argumentError);
};
struct IDispatch {
  const IDispatchVtbl* vtbl;
};

struct IClassFactory;
struct IClassFactoryVtbl {
  IUnknownVtbl unknown;
  HRESULT (*CreateInstance)(IClassFactory* self, IUnknown* outer, REFIID iid, void** object);
  HRESULT (*LockServer)(IClassFactory* self, BOOL lock);
};
struct IClassFactory {
  const IClassFactoryVtbl* vtbl;
};

struct ISupportErrorInfo;
struct ISupportErrorInfoVtbl {
  IUnknownVtbl unknown;
  HRESULT (*InterfaceSupportsErrorInfo)(ISupportErrorInfo* self, REFIID iid);
};
struct ISupportErrorInfo {
  const ISupportErrorInfoVtbl* vtbl;
};

struct IProvideClassInfo;
struct IProvideClassInfoVtbl {
  IUnknownVtbl unknown;
  HRESULT (*GetClassInfo)(IProvideClassInfo* self, ITypeInfo** info);
};
struct IProvideClassInfo {
  const IProvideClassInfoVtbl* vtbl;
};

struct IErrorInfo;
struct IErrorInfoVtbl {
  IUnknownVtbl unknown;
  HRESULT (*GetGUID)(IErrorInfo* self, GUID* guid);
  HRESULT (*GetSource)(IErrorInfo* self, BSTR* source);
  HRESULT (*GetDescription)(IErrorInfo* self, BSTR* description);
  HRESULT (*GetHelpFile)(IErrorInfo* self, BSTR* helpFile);
  HRESULT (*GetHelpContext)(IErrorInfo* self, DWORD* helpContext);
};
struct IErrorInfo {
  const IErrorInfoVtbl* vtbl;
};

// Every interface pointer is also an IUnknown pointer: its table starts with the
// three IUnknown slots.
template <class Interface>
IUnknown* AsUnknown(Interface* object) {
  return reinterpret_cast<IUnknown*>(object);
}

template <class Interface>
ULONG AddRef(Interface* object) {
  return AsUnknown(object)->vtbl->AddRef(AsUnknown(object));
}

template <class Interface>
ULONG Release(Interface* object) {
  return AsUnknown(object)->vtbl->Release(AsUnknown(object));
}

template <class Interface>
HRESULT QueryInterface(Interface* object, REFIID iid, void** result) {
  return AsUnknown(object)->vtbl->QueryInterface(AsUnknown(object), iid, result);
}

}  // namespace velmora::com
