#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>

#include "addin/Velmora_TLB.h"
#include "addin_module.h"
#include "host_interfaces/host_addin.h"
#include "host_interfaces/host_registry.h"
#include "host_interfaces/recorder2000_tlb.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/registry.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

template <class Interface>
ComPtr<Interface> Create(REFIID iid) {
  ComPtr<Interface> object;
  EXPECT_EQ(CoCreateInstance(CLASS_VelmoraMI, nullptr, CLSCTX_INPROC_SERVER, iid, object.OutVoid()),
            S_OK);
  return object;
}

template <class Interface>
std::string Text(HRESULT (*get)(Interface*, BSTR*), Interface* object) {
  BStr text;
  EXPECT_EQ(get(object, text.Out()), S_OK);
  EXPECT_NE(text.Get(), nullptr);
  return text.Utf8();
}

void SetAddinPath(const std::string& folder) {
  UpdateRegistry(
      [&](Registry& registry) { registry.SetValue(kHostSettingsKey, kAddinPathValue, folder); });
}

// Each test starts with the module registered in an otherwise empty registry.
class AddinObject : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove(RegistryFilePath());
    ASSERT_EQ(testing::LoadAddinModule().DllRegisterServer(), S_OK);
  }
  void TearDown() override { fs::remove(RegistryFilePath()); }
};

TEST_F(AddinObject, ReportsTheValuesOfItsMenuEntry) {
  const ComPtr<IHostMenuItem> menu = Create<IHostMenuItem>(IID_IHostMenuItem);
  ASSERT_TRUE(menu);
  const auto& table = *menu->vtbl;
  EXPECT_EQ(Text(table.MenuCaption, menu.Get()), "MTB Raster auszählen");
  EXPECT_EQ(Text(table.MenuHint, menu.Get()), "Hinweis");
  EXPECT_EQ(Text(table.MenuImageFile, menu.Get()), "Velmora.bmp");
  EXPECT_EQ(Text(table.MenuDisabledImageFile, menu.Get()), "VelmoraDisabled.bmp");
  EXPECT_EQ(Text(table.MenuParentName, menu.Get()), "Reports");
  for (int i = 0; i < 2; ++i) {
    VARIANT_BOOL enabled = 0;
    EXPECT_EQ(table.MenuEnabled(menu.Get(), &enabled), S_OK);
    EXPECT_EQ(static_cast<std::uint16_t>(enabled), 0xFFFF) << "true has all 16 bits set";
  }
  EXPECT_EQ(table.MenuCaption(menu.Get(), nullptr), E_POINTER);
  EXPECT_EQ(table.MenuEnabled(menu.Get(), nullptr), E_POINTER);
}

TEST_F(AddinObject, ReportsItsNameAndImageAndIgnoresNotifications) {
  const ComPtr<IHostAddinInfo> info = Create<IHostAddinInfo>(IID_IHostAddinInfo);
  ASSERT_TRUE(info);
  EXPECT_EQ(Text(info->vtbl->AddinName, info.Get()), "Velmora Addin");
  EXPECT_EQ(Text(info->vtbl->AddinImageFile, info.Get()), "Velmora.bmp");
  for (LONG value : {0, 1, -1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(info->vtbl->AddinNotify(info.Get(), value), S_OK) << value;
  }
  EXPECT_EQ(Text(info->vtbl->AddinName, info.Get()), "Velmora Addin");
}

TEST_F(AddinObject, EveryTextIsAFreshStringForTheCallerToFree) {
  const ComPtr<IHostAddinInfo> info = Create<IHostAddinInfo>(IID_IHostAddinInfo);
  ASSERT_TRUE(info);
  BStr first;
  BStr second;
  ASSERT_EQ(info->vtbl->AddinName(info.Get(), first.Out()), S_OK);
  ASSERT_EQ(info->vtbl->AddinName(info.Get(), second.Out()), S_OK);
  EXPECT_NE(first.Get(), second.Get());
  first = BStr();
  EXPECT_EQ(second.Utf8(), "Velmora Addin");
}

TEST_F(AddinObject, DescribesItselfWithTheVersionOfTheModuleInTheHostsAddinFolder) {
  const ComPtr<IHostAddinInfo> info = Create<IHostAddinInfo>(IID_IHostAddinInfo);
  ASSERT_TRUE(info);
  const auto description = [&] { return Text(info->vtbl->AddinDescription, info.Get()); };
  EXPECT_EQ(description(), "Velmora\r\nVersion x.x.x.x") << "no Addin Path";

  SetAddinPath(VELMORA_VERSION_FIXTURE_FOLDER);
  EXPECT_EQ(description(), "Velmora\r\nVersion 2.1.0.7");
  SetAddinPath(VELMORA_VERSION_FIXTURE_FOLDER "/");
  EXPECT_EQ(description(), "Velmora\r\nVersion 2.1.0.7") << "with a closing slash";

  SetAddinPath(fs::path(testing::AddinModulePath()).parent_path().string());
  EXPECT_EQ(description(), "Velmora\r\nVersion " VELMORA_PROJECT_VERSION);

  SetAddinPath(fs::temp_directory_path().string());
  EXPECT_EQ(description(), "Velmora\r\nVersion x.x.x.x") << "no module in the folder";
  SetAddinPath("");
  EXPECT_EQ(description(), "Velmora\r\nVersion x.x.x.x");
}

TEST_F(AddinObject, AnswersQueryInterfaceForItsInterfacesWithOneIdentity) {
  const ComPtr<IUnknown> object = Create<IUnknown>(IID_IUnknown);
  ASSERT_TRUE(object);
  for (const IID& iid : {IID_IUnknown, IID_IDispatch, IID_ISupportErrorInfo, IID_IProvideClassInfo,
                         IID_IHostAction, IID_IHostMenuItem, IID_IHostAddinInfo, IID_IVelmoraMI}) {
    ComPtr<IUnknown> answer;
    ASSERT_EQ(QueryInterface(object.Get(), iid, answer.OutVoid()), S_OK) << FormatGuid(iid);
    ASSERT_TRUE(answer);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(QueryInterface(answer.Get(), IID_IUnknown, identity.OutVoid()), S_OK);
    EXPECT_EQ(identity.Get(), object.Get()) << FormatGuid(iid);
  }
  const IID others[] = {
      IID_IClassFactory, IID_IErrorInfo, IID_IRecorder2000,
      IID{0x801EBEA0, 0x91CE, 0x11D3, {0xB5, 0x64, 0, 0x50, 4, 0xB0, 0xB6, 0x98}}};
  for (const IID& iid : others) {
    void* answer = &answer;
    EXPECT_EQ(QueryInterface(object.Get(), iid, &answer), E_NOINTERFACE) << FormatGuid(iid);
    EXPECT_EQ(answer, nullptr);
  }
}

TEST_F(AddinObject, OffersErrorInfoForItsOwnInterfacesAndNoTypeInformation) {
  const ComPtr<ISupportErrorInfo> support = Create<ISupportErrorInfo>(IID_ISupportErrorInfo);
  ASSERT_TRUE(support);
  const auto supports = [&](REFIID iid) {
    return support->vtbl->InterfaceSupportsErrorInfo(support.Get(), iid);
  };
  EXPECT_EQ(supports(IID_IHostAction), S_OK);
  EXPECT_EQ(supports(IID_IHostMenuItem), S_OK);
  EXPECT_EQ(supports(IID_IHostAddinInfo), S_OK);
  EXPECT_EQ(supports(IID_IVelmoraMI), S_OK);
  EXPECT_EQ(supports(IID_IClassFactory), S_FALSE);

  ComPtr<IProvideClassInfo> classInfo;
  ASSERT_EQ(QueryInterface(support.Get(), IID_IProvideClassInfo, classInfo.OutVoid()), S_OK);
  ITypeInfo* typeInfo = reinterpret_cast<ITypeInfo*>(&typeInfo);
  EXPECT_EQ(classInfo->vtbl->GetClassInfo(classInfo.Get(), &typeInfo), E_NOTIMPL);
  EXPECT_EQ(typeInfo, nullptr);
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(QueryInterface(support.Get(), IID_IDispatch, dispatch.OutVoid()), S_OK);
  UINT count = 1;
  EXPECT_EQ(dispatch->vtbl->GetTypeInfoCount(dispatch.Get(), &count), S_OK);
  EXPECT_EQ(count, 0u);
}

TEST_F(AddinObject, CountsReferencesAndMayBeUnloadedOnlyWhenNothingIsInUse) {
  const testing::AddinModule& module = testing::LoadAddinModule();
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK);
  {
    ComPtr<IHostAction> action = Create<IHostAction>(IID_IHostAction);
    ASSERT_TRUE(action);
    EXPECT_EQ(module.DllCanUnloadNow(), S_FALSE);
    IHostMenuItem* menu = nullptr;
    ASSERT_EQ(QueryInterface(action.Get(), IID_IHostMenuItem, reinterpret_cast<void**>(&menu)),
              S_OK);
    EXPECT_EQ(AddRef(menu), 3u) << "one count for all interfaces";
    EXPECT_EQ(Release(action.Get()), 2u);
    EXPECT_EQ(Release(menu), 1u);
    EXPECT_EQ(module.DllCanUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK) << "the last reference freed the object";

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(module.DllGetClassObject(&CLASS_VelmoraMI, &IID_IClassFactory, factory.OutVoid()),
            S_OK);
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK) << "a factory reference is no lock";
  EXPECT_EQ(factory->vtbl->LockServer(factory.Get(), 1), S_OK);
  EXPECT_EQ(module.DllCanUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->vtbl->LockServer(factory.Get(), 0), S_OK);
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK);

  ComPtr<IUnknown> made;
  ASSERT_EQ(
      factory->vtbl->CreateInstance(factory.Get(), nullptr, IID_IHostAddinInfo, made.OutVoid()),
      S_OK);
  EXPECT_EQ(module.DllCanUnloadNow(), S_FALSE);
  made.Reset();
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->vtbl->CreateInstance(factory.Get(), AsUnknown(factory.Get()), IID_IUnknown,
                                          aggregated.OutVoid()),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK);
}

TEST_F(AddinObject, TheModuleServesOnlyItsOwnClass) {
  const testing::AddinModule& module = testing::LoadAddinModule();
  const CLSID other{0x31A2653D, 0x33B7, 0x4A09, {0x86, 0xEC, 0x1B, 0x55, 0x45, 0x06, 0x7F, 0x3F}};
  void* object = &object;
  EXPECT_EQ(module.DllGetClassObject(&other, &IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  object = &object;
  EXPECT_EQ(module.DllGetClassObject(&CLASS_VelmoraMI, &IID_IDispatch, &object), E_NOINTERFACE)
      << "the factory is no automation object";
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(module.DllGetClassObject(&CLASS_VelmoraMI, &IID_IClassFactory, nullptr), E_POINTER);
}

// A host in C passes the identifiers by address; a null one is refused, not
// followed.
TEST_F(AddinObject, TheModuleRefusesNullIdentifiers) {
  const testing::AddinModule& module = testing::LoadAddinModule();
  const struct {
    const CLSID* clsid;
    const IID* iid;
  } cases[] = {{nullptr, &IID_IClassFactory}, {&CLASS_VelmoraMI, nullptr}, {nullptr, nullptr}};
  for (const auto& c : cases) {
    void* object = &object;
    EXPECT_EQ(module.DllGetClassObject(c.clsid, c.iid, &object), E_INVALIDARG);
    EXPECT_EQ(object, nullptr);
  }
}

}  // namespace
}  // namespace velmora
