#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <new>
#include <utility>

#include "platform/com/interfaces.h"

// The plumbing of a COM object written in C++: the reference count, the
// IUnknown and IDispatch slots, and a class factory. An object derives from
// ComObject, holds one InterfaceSlot per interface it offers, and answers
// FindInterface with the slot's address.

namespace velmora::com {

class VELMORA_COM_API ComObject {
 public:
  virtual ~ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  ULONG AddRefObject();
  // Frees the object when the last reference goes.
  ULONG ReleaseObject();
  HRESULT QueryObject(REFIID iid, void** result);

 protected:
  ComObject() = default;
  // The interface pointer for `iid` (IUnknown included), or null.
  virtual void* FindInterface(REFIID iid) = 0;

 private:
  std::atomic<ULONG> references_{1};
};

// Creates an object whose one reference the caller then holds: the reference
// count owns it from here on.
template <class Object, class... Arguments>
Object* NewComObject(Arguments&&... arguments) {
  return std::make_unique<Object>(std::forward<Arguments>(arguments)...).release();
}

// One interface of an object. The interface pointer handed out points here; the
// slot leads back to its object.
template <class Interface>
struct InterfaceSlot : Interface {
  InterfaceSlot(decltype(Interface::vtbl) table, ComObject* owner)
      : Interface{table}, object(owner) {}
  ComObject* object;
};

template <class Object, class Interface>
Object& ObjectOf(Interface* self) {
  return static_cast<Object&>(*static_cast<InterfaceSlot<Interface>*>(self)->object);
}

template <class Interface>
struct UnknownSlots {
  static ComObject& Of(IUnknown* self) {
    return *static_cast<InterfaceSlot<Interface>*>(reinterpret_cast<Interface*>(self))->object;
  }
  static HRESULT QueryInterface(IUnknown* self, REFIID iid, void** result) {
    return Of(self).QueryObject(iid, result);
  }
  static ULONG AddRef(IUnknown* self) { return Of(self).AddRefObject(); }
  static ULONG Release(IUnknown* self) { return Of(self).ReleaseObject(); }

  static constexpr IUnknownVtbl kTable{&QueryInterface, &AddRef, &Release};
};

// The IDispatch slots of an interface without a type library: late binding is
// not offered, callers use the table.
template <class Interface>
struct DispatchSlots {
  static HRESULT GetTypeInfoCount(IDispatch*, UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  static HRESULT GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  static HRESULT GetIDsOfNames(IDispatch*, REFIID, OLECHAR**, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
  }
  static HRESULT Invoke(IDispatch*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) {
    return E_NOTIMPL;
  }

  static constexpr IDispatchVtbl kTable{UnknownSlots<Interface>::kTable, &GetTypeInfoCount,
                                        &GetTypeInfo, &GetIDsOfNames, &Invoke};
};

// Runs the body of an operation and turns any exception into a failure code:
// no exception may leave through a table slot.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// A class factory whose objects come from `make`, each with one reference that
// CreateInstance then trades for the interface asked for.
class VELMORA_COM_API ClassFactory : public ComObject {
 public:
  using Maker = std::function<ComObject*()>;
  explicit ClassFactory(Maker make);

  // A new factory; the caller holds its one reference.
  static IClassFactory* Create(Maker make);

  // Whether a client holds the factory's server lock (LockServer), which
  // keeps the module that serves the class loaded.
  bool IsLocked() const { return locks_ > 0; }

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  static HRESULT CreateInstance(IClassFactory* self, IUnknown* outer, REFIID iid, void** result);
  static HRESULT LockServer(IClassFactory* self, BOOL lock);
  static const IClassFactoryVtbl kTable;

  Maker make_;
  std::atomic<LONG> locks_{0};
  InterfaceSlot<IClassFactory> factory_{&kTable, this};
};

}  // namespace velmora::com
