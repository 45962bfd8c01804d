#include "host/application_settings.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>

#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"

namespace velmora::host {
namespace {

using namespace velmora::com;

// The add-in calls the 20th and the 21st own operation by their places in the table.
static_assert(offsetof(IRecorder2000Vtbl, ConnectionString) == 26 * sizeof(void*));
static_assert(offsetof(IRecorder2000Vtbl, AssignConnection) == 27 * sizeof(void*));
static_assert(sizeof(IRecorder2000Vtbl) == (7 + 24) * sizeof(void*));
static_assert(sizeof(IDispatchVtbl) == 7 * sizeof(void*));

ComPtr<IRecorder2000> CreateSettings() {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID(Utf8ToUtf16(kApplicationSettingsProgId).c_str(), &clsid), S_OK);
  ComPtr<IRecorder2000> settings;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IRecorder2000, settings.OutVoid()),
            S_OK);
  return settings;
}

// A stand-in for the add-in's connection object.
class Connection : public ComObject {
 public:
  IDatabaseConnection* Interface() { return &connection_; }

 protected:
  void* FindInterface(REFIID iid) override {
    return iid == IID_IUnknown || iid == IID_IDatabaseConnection ? &connection_ : nullptr;
  }

 private:
  static HRESULT NotUsed(IDatabaseConnection*, BSTR*) { return E_NOTIMPL; }
  static HRESULT State(IDatabaseConnection*, LONG* state) {
    *state = adStateOpen;
    return S_OK;
  }
  static HRESULT NotRun(IDatabaseConnection*, BSTR, LONG*) { return E_NOTIMPL; }
  static constexpr IDatabaseConnectionVtbl kTable{DispatchSlots<IDatabaseConnection>::kTable,
                                                  &NotUsed, &State, &NotRun};
  InterfaceSlot<IDatabaseConnection> connection_{&kTable, this};
};

class ApplicationSettings : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove(RegistryFilePath()); }
  void TearDown() override { std::filesystem::remove(RegistryFilePath()); }
};

TEST_F(ApplicationSettings, GivesTheConfiguredConnectionStringVerbatim) {
  const std::string text = "Provider=SQLite;Data Source=/tmp/Grüne Wiese/\"a\";x=1 ";
  ApplicationSettingsClass settingsClass(text);
  ComPtr<IRecorder2000> settings = CreateSettings();
  ASSERT_TRUE(settings);
  BStr connectionString;
  ASSERT_EQ(settings->vtbl->ConnectionString(settings.Get(), connectionString.Out()), S_OK);
  EXPECT_EQ(connectionString.Utf8(), text);
  EXPECT_EQ(settings->vtbl->ConnectionString(settings.Get(), nullptr), E_POINTER);
}

TEST_F(ApplicationSettings, KeepsTheConnectionHandedBack) {
  ApplicationSettingsClass settingsClass("x");
  ComPtr<IRecorder2000> settings = CreateSettings();
  EXPECT_FALSE(settingsClass.ReceivedConnection());
  ComPtr<IDatabaseConnection> connection(NewComObject<Connection>()->Interface());
  ASSERT_EQ(settings->vtbl->AssignConnection(settings.Get(), connection.Get()), S_OK);
  EXPECT_EQ(settingsClass.ReceivedConnection().Get(), connection.Get());
  EXPECT_EQ(AddRef(connection.Get()), 3u) << "ours, the host's, and this one";
  Release(connection.Get());
  EXPECT_EQ(settings->vtbl->AssignConnection(settings.Get(), nullptr), E_POINTER);
  settings.Reset();
  EXPECT_EQ(settingsClass.ReceivedConnection().Get(), connection.Get())
      << "the host keeps it after the add-in let its settings object go";
}

TEST_F(ApplicationSettings, AnswersTheOtherOperationsWithNotImplemented) {
  ApplicationSettingsClass settingsClass("x");
  ComPtr<IRecorder2000> settings = CreateSettings();
  int unused = 0;
  for (HostOperation operation : settings->vtbl->operations1To19) {
    EXPECT_EQ(operation(settings.Get()), E_NOTIMPL);
    ++unused;
  }
  for (HostOperation operation : settings->vtbl->operations22To24) {
    EXPECT_EQ(operation(settings.Get()), E_NOTIMPL);
    ++unused;
  }
  EXPECT_EQ(unused, 22);
  ComPtr<IDispatch> dispatch;
  EXPECT_EQ(QueryInterface(settings.Get(), IID_IDispatch, dispatch.OutVoid()), S_OK);
  EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(settings.Get()));
}

TEST_F(ApplicationSettings, IsOfferedWhileTheClassObjectLives) {
  CLSID clsid;
  const std::u16string progId = Utf8ToUtf16(kApplicationSettingsProgId);
  EXPECT_EQ(CLSIDFromProgID(progId.c_str(), &clsid), CO_E_CLASSSTRING);
  {
    ApplicationSettingsClass settingsClass("x");
    ASSERT_EQ(CLSIDFromProgID(progId.c_str(), &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_AutoApplicationSettings);
  }
  ComPtr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, object.OutVoid()),
            REGDB_E_CLASSNOTREG)
      << "the ProgID stays registered, but no running host offers the class";
}

TEST_F(ApplicationSettings, TakesTheConnectionStringFromTheHostsConfiguration) {
  const char* data = std::getenv("XDG_DATA_HOME");
  ASSERT_NE(data, nullptr) << "the tests run with a private data folder";
  EXPECT_EQ(HostConnectionString(),
            std::string("Provider=SQLite;Data Source=") + data + "/velmora/demo.sqlite");
  UpdateRegistry([](Registry& registry) {
    registry.SetValue(kHostSettingsKey, "Connection String",
                      "Driver={FreeTDS};Server=db;Database=NBNData");
  });
  EXPECT_EQ(HostConnectionString(), "Driver={FreeTDS};Server=db;Database=NBNData");
}

}  // namespace
}  // namespace velmora::host
