#include "platform/com/activation.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"
#include "test_module.h"

namespace velmora::com {
namespace {

using testing::CLSID_MissingFactory;
using testing::CLSID_RefusedCounter;
using testing::CLSID_TestCounter;
using testing::ICounter;
using testing::IID_ICounter;

const CLSID kUnregistered{0x2C1A8E4F, 0x6F0B, 0x4C1E, {1, 2, 3, 4, 5, 6, 7, 8}};

std::string ClassKey(REFCLSID clsid) {
  return std::string(kClassesRoot) + "\\CLSID\\" + FormatGuid(clsid);
}

// Enters a class with its in-process module in the per-user registry file.
void RegisterModule(REFCLSID clsid, const std::string& progId, const std::string& module) {
  UpdateRegistry([&](Registry& registry) {
    registry.SetValue(ClassKey(clsid) + "\\InprocServer32", "", module);
    registry.SetValue(ClassKey(clsid) + "\\InprocServer32", "ThreadingModel", "Apartment");
    registry.SetValue(std::string(kClassesRoot) + '\\' + progId + "\\Clsid", "", FormatGuid(clsid));
  });
}

HRESULT ClsidOf(std::string_view progId, CLSID* clsid) {
  return CLSIDFromProgID(Utf8ToUtf16(progId).c_str(), clsid);
}

LONG Increment(ICounter* counter) {
  LONG count = 0;
  EXPECT_EQ(counter->vtbl->Increment(counter, &count), S_OK);
  return count;
}

class Activation : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(RegistryFilePath());
    RegisterModule(CLSID_TestCounter, "Velmora.TestCounter", VELMORA_TEST_MODULE);
    RegisterModule(CLSID_RefusedCounter, "Velmora.RefusedCounter", VELMORA_TEST_MODULE);
  }
  void TearDown() override { std::filesystem::remove(RegistryFilePath()); }

  static LONG LiveObjects() {
    void* module = ::dlopen(VELMORA_TEST_MODULE, RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr) return 0;
    auto live =
        reinterpret_cast<testing::LiveObjectsFunction>(::dlsym(module, testing::kLiveObjects));
    const LONG count = live();
    ::dlclose(module);
    return count;
  }
};

TEST_F(Activation, CreatesAnObjectFromTheModuleInTheRegistry) {
  CLSID clsid;
  ASSERT_EQ(ClsidOf("Velmora.TestCounter", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_TestCounter);
  ComPtr<ICounter> counter;
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_ICounter, counter.OutVoid()), S_OK);
  EXPECT_EQ(Increment(counter.Get()), 1);
  EXPECT_EQ(Increment(counter.Get()), 2);
  EXPECT_EQ(LiveObjects(), 1);
  counter.Reset();
  EXPECT_EQ(LiveObjects(), 0) << "the last Release frees the object";
}

TEST_F(Activation, QueryInterfaceFollowsTheRulesOfIdentity) {
  ComPtr<ICounter> counter;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ICounter,
                             counter.OutVoid()),
            S_OK);
  ComPtr<IUnknown> unknown1;
  ComPtr<IUnknown> unknown2;
  ASSERT_EQ(QueryInterface(counter.Get(), IID_IUnknown, unknown1.OutVoid()), S_OK);
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(QueryInterface(counter.Get(), IID_ISupportErrorInfo, support.OutVoid()), S_OK);
  ASSERT_EQ(QueryInterface(support.Get(), IID_IUnknown, unknown2.OutVoid()), S_OK);
  EXPECT_EQ(unknown1.Get(), unknown2.Get()) << "one IUnknown per object";
  ComPtr<ICounter> again;
  ASSERT_EQ(QueryInterface(support.Get(), IID_ICounter, again.OutVoid()), S_OK);
  EXPECT_EQ(again.Get(), counter.Get());
  EXPECT_EQ(Increment(again.Get()), 1) << "the same object behind every interface";

  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(QueryInterface(counter.Get(), IID_IDispatch, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(QueryInterface(counter.Get(), IID_ICounter, nullptr), E_POINTER);
}

TEST_F(Activation, CountsReferencesAcrossAllInterfaces) {
  ICounter* counter = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ICounter,
                             reinterpret_cast<void**>(&counter)),
            S_OK);
  EXPECT_EQ(AddRef(counter), 2u);
  ISupportErrorInfo* support = nullptr;
  ASSERT_EQ(QueryInterface(counter, IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
            S_OK);
  EXPECT_EQ(Release(support), 2u);
  EXPECT_EQ(Release(counter), 1u);
  EXPECT_EQ(LiveObjects(), 1);
  EXPECT_EQ(Release(counter), 0u);
  EXPECT_EQ(LiveObjects(), 0);
}

TEST_F(Activation, CarriesErrorInfoAcrossTheModuleBoundary) {
  ComPtr<ICounter> counter;
  ASSERT_EQ(
      CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ICounter, counter.OutVoid()),
      S_OK);
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(QueryInterface(counter.Get(), IID_ISupportErrorInfo, support.OutVoid()), S_OK);
  EXPECT_EQ(support->vtbl->InterfaceSupportsErrorInfo(support.Get(), IID_ICounter), S_OK);

  EXPECT_EQ(counter->vtbl->Fail(counter.Get()), E_FAIL);
  const std::optional<ErrorDescription> error = TakeErrorDescription();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Counter overflow");
  EXPECT_EQ(error->source, "Velmora.TestCounter");
  EXPECT_EQ(error->iid, IID_ICounter);
  EXPECT_FALSE(TakeErrorDescription()) << "taking the error info clears it";
}

TEST_F(Activation, EveryFailureIsAResultCode) {
  const std::string missing =
      (std::filesystem::temp_directory_path() / "no-such-module.so").string();
  RegisterModule(kUnregistered, "Velmora.MissingModule", missing);
  const CLSID withoutExport{0x2C1A8E50, 0x6F0B, 0x4C1E, {1, 2, 3, 4, 5, 6, 7, 8}};
  RegisterModule(withoutExport, "Velmora.WithoutExport", VELMORA_MODULE_WITHOUT_EXPORT);
  const CLSID unknownToModule{0x2C1A8E51, 0x6F0B, 0x4C1E, {1, 2, 3, 4, 5, 6, 7, 8}};
  RegisterModule(unknownToModule, "Velmora.UnknownToModule", VELMORA_TEST_MODULE);
  RegisterModule(CLSID_MissingFactory, "Velmora.MissingFactory", VELMORA_TEST_MODULE);
  const CLSID notRegistered{0x2C1A8E52, 0x6F0B, 0x4C1E, {1, 2, 3, 4, 5, 6, 7, 8}};

  struct Case {
    const char* what;
    CLSID clsid;
    IID iid;
    HRESULT expected;
  };
  const Case cases[] = {
      {"a class nobody registered", notRegistered, IID_ICounter, REGDB_E_CLASSNOTREG},
      {"a module that is not there", kUnregistered, IID_ICounter, CO_E_DLLNOTFOUND},
      {"a module without DllGetClassObject", withoutExport, IID_ICounter, CO_E_ERRORINDLL},
      {"a class the module does not make", unknownToModule, IID_ICounter,
       CLASS_E_CLASSNOTAVAILABLE},
      {"a factory that refuses", CLSID_RefusedCounter, IID_ICounter, E_FAIL},
      {"a module that claims a factory it does not give", CLSID_MissingFactory, IID_ICounter,
       CO_E_ERRORINDLL},
      {"an interface the object lacks", CLSID_TestCounter, IID_IDispatch, E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_ALL, c.iid, &object), c.expected) << c.what;
    EXPECT_EQ(object, nullptr) << c.what;
  }
  EXPECT_EQ(LiveObjects(), 0) << "an object without the interface is freed at once";
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ICounter, nullptr),
            E_POINTER);

  // Aggregation is not offered.
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_ALL, nullptr, IID_IClassFactory,
                             factory.OutVoid()),
            S_OK);
  void* object = nullptr;
  EXPECT_EQ(
      factory->vtbl->CreateInstance(factory.Get(), AsUnknown(factory.Get()), IID_IUnknown, &object),
      CLASS_E_NOAGGREGATION);
}

TEST_F(Activation, UnknownOrBrokenProgIdsAreInvalidClassStrings) {
  UpdateRegistry([](Registry& registry) {
    registry.SetValue("HKEY_CLASSES_ROOT\\Velmora.Broken\\Clsid", "", "not a guid");
  });
  CLSID clsid = CLSID_TestCounter;
  EXPECT_EQ(ClsidOf("Velmora.Nothing", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(clsid, GUID_NULL);
  EXPECT_EQ(ClsidOf("Velmora.Broken", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(ClsidOf("velmora.testcounter", &clsid), S_OK) << "ProgIDs ignore case";
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
}

TEST_F(Activation, AnUnreadableRegistryIsAResultCode) {
  {
    std::ofstream broken(RegistryFilePath());
    broken << "this is no registry file\n";
  }
  CLSID clsid;
  EXPECT_EQ(ClsidOf("Velmora.TestCounter", &clsid), REGDB_E_READREGDB);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_ICounter, &object),
            REGDB_E_READREGDB);
}

// An object made in the test's own process, as a running host offers its classes.
class Local : public ComObject {
 public:
  explicit Local(int* alive) : alive_(alive) { ++*alive_; }
  ~Local() override { --*alive_; }

 protected:
  void* FindInterface(REFIID iid) override {
    return iid == IID_IUnknown || iid == IID_IDispatch ? &dispatch_ : nullptr;
  }

 private:
  int* alive_;
  InterfaceSlot<IDispatch> dispatch_{&DispatchSlots<IDispatch>::kTable, this};
};

TEST_F(Activation, ClassesRegisteredByTheProcessComeFirstUntilRevoked) {
  int alive = 0;
  DWORD cookie = 0;
  {
    ComPtr<IClassFactory> factory(
        ClassFactory::Create([&alive] { return NewComObject<Local>(&alive); }));
    // The same CLSID as the module's class: the process's own class wins.
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestCounter, AsUnknown(factory.Get()),
                                    CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
  }
  for (int i = 0; i < 2; ++i) {
    ComPtr<IDispatch> local;
    ASSERT_EQ(
        CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_IDispatch, local.OutVoid()),
        S_OK);
    EXPECT_EQ(alive, 1);
    UINT count = 7;
    EXPECT_EQ(local->vtbl->GetTypeInfoCount(local.Get(), &count), S_OK);
    EXPECT_EQ(count, 0u);
  }
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  ComPtr<IDispatch> fromModule;
  EXPECT_EQ(
      CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_ALL, IID_IDispatch, fromModule.OutVoid()),
      E_NOINTERFACE)
      << "after revoking, the module's class answers again";
}

TEST_F(Activation, ASingleUseClassServesOneRequest) {
  int alive = 0;
  DWORD cookie = 0;
  ComPtr<IClassFactory> factory(
      ClassFactory::Create([&alive] { return NewComObject<Local>(&alive); }));
  ASSERT_EQ(CoRegisterClassObject(kUnregistered, AsUnknown(factory.Get()), CLSCTX_LOCAL_SERVER,
                                  REGCLS_SINGLEUSE, &cookie),
            S_OK);
  ComPtr<IUnknown> first;
  EXPECT_EQ(CoCreateInstance(kUnregistered, nullptr, CLSCTX_ALL, IID_IUnknown, first.OutVoid()),
            S_OK);
  ComPtr<IUnknown> second;
  EXPECT_EQ(CoCreateInstance(kUnregistered, nullptr, CLSCTX_ALL, IID_IUnknown, second.OutVoid()),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
}

}  // namespace
}  // namespace velmora::com
