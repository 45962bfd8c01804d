// A small in-process module: what the tests create through the registry.
#include <atomic>

#include "platform/com/activation.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "test_module.h"

namespace velmora::com::testing {
namespace {

std::atomic<LONG> liveObjects{0};

class Counter : public ComObject {
 public:
  Counter() { ++liveObjects; }
  ~Counter() override { --liveObjects; }

 protected:
  void* FindInterface(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_ICounter) return &counter_;
    if (iid == IID_ISupportErrorInfo) return &supportErrorInfo_;
    return nullptr;
  }

 private:
  static HRESULT Increment(ICounter* self, LONG* count) {
    if (count == nullptr) return E_POINTER;
    *count = ++ObjectOf<Counter>(self).count_;
    return S_OK;
  }
  static HRESULT Fail(ICounter*) {
    SetErrorDescription(IID_ICounter, "Velmora.TestCounter", "Counter overflow");
    return E_FAIL;
  }
  static HRESULT InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID iid) {
    return iid == IID_ICounter ? S_OK : S_FALSE;
  }

  static constexpr ICounterVtbl kCounter{UnknownSlots<ICounter>::kTable, &Increment, &Fail};
  static constexpr ISupportErrorInfoVtbl kSupportErrorInfo{UnknownSlots<ISupportErrorInfo>::kTable,
                                                           &InterfaceSupportsErrorInfo};

  LONG count_ = 0;
  InterfaceSlot<ICounter> counter_{&kCounter, this};
  InterfaceSlot<ISupportErrorInfo> supportErrorInfo_{&kSupportErrorInfo, this};
};

}  // namespace

extern "C" VELMORA_COM_API HRESULT DllGetClassObject(const CLSID* id, const IID* iid,
                                                     void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (id == nullptr || iid == nullptr) return E_INVALIDARG;
  const CLSID& clsid = *id;
  ClassFactory::Maker make;
  if (clsid == CLSID_MissingFactory) return S_OK;
  if (clsid == CLSID_TestCounter) {
    make = [] { return NewComObject<Counter>(); };
  } else if (clsid == CLSID_RefusedCounter) {
    make = []() -> ComObject* { return nullptr; };
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  IClassFactory* factory = ClassFactory::Create(std::move(make));
  const HRESULT hr = QueryInterface(factory, *iid, object);
  Release(factory);
  return hr;
}

extern "C" VELMORA_COM_API LONG TestModuleLiveObjects() { return liveObjects; }

}  // namespace velmora::com::testing
