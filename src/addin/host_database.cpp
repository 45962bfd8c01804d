#include "addin/host_database.h"

#include "addin/connection_object.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/errors.h"
#include "platform/message_box.h"

namespace velmora {
namespace {

// Opening a connection to a distant server may take long; the host's own
// default is far too short for it.
constexpr int kConnectionTimeoutSeconds = 400;

com::ComPtr<IRecorder2000> CreateHostSettings() {
  const std::u16string progId = com::Utf8ToUtf16(kApplicationSettingsProgId);
  com::CLSID clsid;
  ThrowIfFailed(com::CLSIDFromProgID(progId.c_str(), &clsid));
  com::ComPtr<IRecorder2000> settings;
  ThrowIfFailed(com::CoCreateInstance(clsid, nullptr, com::CLSCTX_ALL, IID_IRecorder2000,
                                      settings.OutVoid()));
  return settings;
}

}  // namespace

void HostDatabase::OpenDatabaseSession() {
  hostSettings_ = CreateHostSettings();

  // Every result of the session is a client-side snapshot.
  session_ = std::make_shared<DatabaseSession>();
  session_->SetConnectionTimeout(kConnectionTimeoutSeconds);

  com::BStr connectionString;
  ThrowIfFailed(hostSettings_->vtbl->ConnectionString(hostSettings_.Get(), connectionString.Out()));
  const std::string text = connectionString.Utf8();

  try {
    session_->Open(text);
  } catch (const DatabaseError&) {
    ShowMessageBox({"Error while connecting", "Fehler", MessageIcon::Error});
    throw SilentAbort();
  }

  com::ComPtr<IDatabaseConnection> connection(NewDatabaseConnectionObject(session_, text));
  ThrowIfFailed(hostSettings_->vtbl->AssignConnection(hostSettings_.Get(), connection.Get()));
}

void HostDatabase::CloseDatabaseSession() noexcept {
  if (!session_) return;
  session_->Close();
  session_.reset();
}

DatabaseSession& HostDatabase::Session() const {
  if (!session_) throw DatabaseError("The database session is not open");
  return *session_;
}

}  // namespace velmora
