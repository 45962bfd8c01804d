#include "host/application_settings.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"
#include "platform/db/connection_string.h"

namespace velmora::host {

using namespace velmora::com;

struct ApplicationSettingsClass::State {
  std::string connectionString;
  ComPtr<IDatabaseConnection> connection;
};

namespace {

class AutoApplicationSettings : public ComObject {
 public:
  explicit AutoApplicationSettings(std::shared_ptr<ApplicationSettingsClass::State> state)
      : state_(std::move(state)) {}

 protected:
  void* FindInterface(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IRecorder2000) return &settings_;
    return nullptr;
  }

 private:
  static HRESULT NotImplemented(IRecorder2000*) { return E_NOTIMPL; }

  static HRESULT ConnectionString(IRecorder2000* self, BSTR* connectionString) {
    if (connectionString == nullptr) return E_POINTER;
    return Guarded([&] {
      *connectionString =
          BStr(ObjectOf<AutoApplicationSettings>(self).state_->connectionString).Detach();
      return *connectionString == nullptr ? E_OUTOFMEMORY : S_OK;
    });
  }

  static HRESULT AssignConnection(IRecorder2000* self, IDatabaseConnection* connection) {
    if (connection == nullptr) return E_POINTER;
    AddRef(connection);
    ObjectOf<AutoApplicationSettings>(self).state_->connection =
        ComPtr<IDatabaseConnection>(connection);
    return S_OK;
  }

  static constexpr IRecorder2000Vtbl MakeTable() {
    IRecorder2000Vtbl table{
        DispatchSlots<IRecorder2000>::kTable, {}, &ConnectionString, &AssignConnection, {}};
    for (HostOperation& operation : table.operations1To19) operation = &NotImplemented;
    for (HostOperation& operation : table.operations22To24) operation = &NotImplemented;
    return table;
  }
  static const IRecorder2000Vtbl kTable;

  std::shared_ptr<ApplicationSettingsClass::State> state_;
  InterfaceSlot<IRecorder2000> settings_{&kTable, this};
};

constexpr IRecorder2000Vtbl AutoApplicationSettings::kTable = AutoApplicationSettings::MakeTable();

void RegisterProgId() {
  const std::string clsid = FormatGuid(CLSID_AutoApplicationSettings);
  const std::string progIdKey = std::string(kClassesRoot) + '\\' + kApplicationSettingsProgId;
  const std::string classKey = std::string(kClassesRoot) + "\\CLSID\\" + clsid;
  if (Registry::Load(RegistryFilePath()).Value(progIdKey + "\\Clsid") == clsid) return;
  UpdateRegistry([&](Registry& registry) {
    registry.SetValue(progIdKey, "", "Recorder 2000 application settings");
    registry.SetValue(progIdKey + "\\Clsid", "", clsid);
    registry.SetValue(classKey, "", "Recorder 2000 application settings");
    registry.SetValue(classKey + "\\ProgID", "", kApplicationSettingsProgId);
  });
}

}  // namespace

std::filesystem::path DemoDatabasePath() {
  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    data = std::filesystem::path(home) / ".local" / "share";
  }
  return data / "velmora" / "demo.sqlite";
}

std::string HostConnectionString() {
  if (std::optional<std::string> configured =
          Registry::Load(RegistryFilePath()).Value(kHostSettingsKey, kConnectionStringValue)) {
    return *configured;
  }
  return SqliteConnectionString(DemoDatabasePath());
}

ApplicationSettingsClass::ApplicationSettingsClass(std::string connectionString)
    : state_(std::make_shared<State>(State{std::move(connectionString), {}})) {
  RegisterProgId();
  std::shared_ptr<State> state = state_;
  ComPtr<IClassFactory> factory(
      ClassFactory::Create([state] { return NewComObject<AutoApplicationSettings>(state); }));
  ThrowIfFailed(CoRegisterClassObject(CLSID_AutoApplicationSettings, AsUnknown(factory.Get()),
                                      CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie_));
}

ApplicationSettingsClass::~ApplicationSettingsClass() { CoRevokeClassObject(cookie_); }

ComPtr<IDatabaseConnection> ApplicationSettingsClass::ReceivedConnection() const {
  return state_->connection;
}

}  // namespace velmora::host
