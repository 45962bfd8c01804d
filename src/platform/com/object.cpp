#include "platform/com/object.h"

namespace velmora::com {

ULONG ComObject::AddRefObject() { return ++references_; }

ULONG ComObject::ReleaseObject() {
  const ULONG left = --references_;
  if (left == 0) {
    std::unique_ptr<ComObject> last(this);
  }
  return left;
}

HRESULT ComObject::QueryObject(REFIID iid, void** result) {
  if (result == nullptr) return E_POINTER;
  *result = FindInterface(iid);
  if (*result == nullptr) return E_NOINTERFACE;
  AddRefObject();
  return S_OK;
}

const IClassFactoryVtbl ClassFactory::kTable{
    UnknownSlots<IClassFactory>::kTable, &ClassFactory::CreateInstance, &ClassFactory::LockServer};

ClassFactory::ClassFactory(Maker make) : make_(std::move(make)) {}

IClassFactory* ClassFactory::Create(Maker make) {
  return &NewComObject<ClassFactory>(std::move(make))->factory_;
}

void* ClassFactory::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IClassFactory) return &factory_;
  return nullptr;
}

HRESULT ClassFactory::CreateInstance(IClassFactory* self, IUnknown* outer, REFIID iid,
                                     void** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  return Guarded([&] {
    ComObject* object = ObjectOf<ClassFactory>(self).make_();
    if (object == nullptr) return E_FAIL;
    // The maker's reference is traded for the one QueryObject adds; an object
    // without the interface goes again at once.
    const HRESULT hr = object->QueryObject(iid, result);
    object->ReleaseObject();
    return hr;
  });
}

HRESULT ClassFactory::LockServer(IClassFactory* self, BOOL lock) {
  std::atomic<LONG>& locks = ObjectOf<ClassFactory>(self).locks_;
  if (lock) {
    ++locks;
  } else if (locks > 0) {
    --locks;
  }
  return S_OK;
}

}  // namespace velmora::com
