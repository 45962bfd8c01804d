#include "addin/host_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "host/application_settings.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/com/registry.h"
#include "platform/errors.h"
#include "platform/message_box.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "wizard/lifecycle.h"
#include "wizard/settings_file.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

const MessageBoxRequest kConnectionError{"Error while connecting", "Fehler", MessageIcon::Error};

std::string TextOf(HRESULT (*get)(IDatabaseConnection*, BSTR*), IDatabaseConnection* connection) {
  BStr text;
  EXPECT_EQ(get(connection, text.Out()), S_OK);
  return text.Utf8();
}

// Runs a statement through the connection the host received, as the host may.
HRESULT ExecuteOn(IDatabaseConnection* connection, const std::string& sql, LONG* affected) {
  const BStr text(sql);
  return connection->vtbl->Execute(connection, text.Get(), affected);
}

LONG StateOf(IDatabaseConnection* connection) {
  LONG state = -1;
  EXPECT_EQ(connection->vtbl->State(connection, &state), S_OK);
  return state;
}

class OpenDatabaseSession : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove(RegistryFilePath());
    std::ofstream{database_};  // SQLite takes an empty file for an empty database
  }
  void TearDown() override { fs::remove(RegistryFilePath()); }

  std::string ConnectionString() const {
    return "Provider=SQLite;Data Source=" + database_.string();
  }

  const testing::TempFolder temp_;
  const fs::path& folder_ = temp_.Path();
  const fs::path database_ = folder_ / "Grüne Wiese.db";
  RecordingMessageSink messages_;
};

TEST_F(OpenDatabaseSession, OpensWithTheHostsStringAndHandsTheConnectionBack) {
  host::ApplicationSettingsClass settingsClass(ConnectionString());
  HostDatabase database;
  EXPECT_FALSE(database.HasSession());
  database.OpenDatabaseSession();

  ASSERT_TRUE(database.HasSession());
  EXPECT_TRUE(database.Session().IsOpen());
  database.Session().ExecuteNoRecords("CREATE TABLE opened_here (id INTEGER)");
  const ComPtr<IDatabaseConnection> received = settingsClass.ReceivedConnection();
  ASSERT_TRUE(received);
  EXPECT_EQ(TextOf(received->vtbl->ConnectionString, received.Get()), ConnectionString());
  EXPECT_EQ(StateOf(received.Get()), adStateOpen);
  EXPECT_TRUE(messages_.Shown().empty());

  // The host's statements run on the dialog's own session.
  LONG affected = -1;
  EXPECT_EQ(ExecuteOn(received.Get(), "INSERT INTO opened_here VALUES (1), (2)", &affected), S_OK);
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(database.Session().OpenQuery("SELECT * FROM opened_here")->RecordCount(), 2);
  EXPECT_EQ(ExecuteOn(received.Get(), "INSERT INTO missing VALUES (1)", &affected), E_FAIL);
  std::optional<ErrorDescription> error = TakeErrorDescription();
  ASSERT_TRUE(error);
  EXPECT_NE(error->description.find("no such table: missing"), std::string::npos)
      << error->description;

  database.CloseDatabaseSession();
  EXPECT_FALSE(database.HasSession());
  EXPECT_EQ(ExecuteOn(received.Get(), "INSERT INTO opened_here VALUES (3)", &affected), E_FAIL);
  error = TakeErrorDescription();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Operation is not allowed when the object is closed.");
  EXPECT_THROW(database.Session(), DatabaseError);
  EXPECT_EQ(StateOf(received.Get()), adStateClosed) << "the host's reference outlives the session";
  database.CloseDatabaseSession();  // nothing left to close
}

TEST_F(OpenDatabaseSession, UsesTheConnectionStringVerbatim) {
  // Not the demo database of the host's default, and a text the session must
  // not trim or re-encode: the host's own choice of the ODBC route to the file.
  const std::string odbc =
      "Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=" + database_.string() +
      ";";
  if (!fs::exists("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so")) GTEST_SKIP();
  host::ApplicationSettingsClass settingsClass(odbc);
  HostDatabase database;
  database.OpenDatabaseSession();
  database.Session().ExecuteNoRecords("CREATE TABLE opened_here (id INTEGER)");
  database.CloseDatabaseSession();
  EXPECT_EQ(TextOf(settingsClass.ReceivedConnection()->vtbl->ConnectionString,
                   settingsClass.ReceivedConnection().Get()),
            odbc);
  // The table landed in the file the host named.
  HostDatabase again;
  again.OpenDatabaseSession();
  EXPECT_EQ(again.Session().OpenQuery("SELECT COUNT(*) FROM opened_here")->RecordCount(), 1);
}

TEST_F(OpenDatabaseSession, WithoutTheHostsClassRaisesTheComErrorAndShowsNothing) {
  HostDatabase database;
  try {
    database.OpenDatabaseSession();
    ADD_FAILURE() << "no error raised";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Code(), CO_E_CLASSSTRING) << "the ProgID is unknown";
  }
  EXPECT_FALSE(database.HasSession());

  { host::ApplicationSettingsClass ended(ConnectionString()); }
  try {
    database.OpenDatabaseSession();
    ADD_FAILURE() << "no error raised";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Code(), REGDB_E_CLASSNOTREG) << "registered, but no host runs";
  }
  EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(OpenDatabaseSession, ARefusedConnectionIsReportedOnceThenAbortsSilently) {
  const std::string refused[] = {
      "Provider=SQLite;Data Source=" + (folder_ / "missing" / "nbn.db").string(),
      "Driver=NoSuchDriver;Server=nowhere;Database=NBNData",
  };
  for (const std::string& connectionString : refused) {
    messages_.Clear();
    host::ApplicationSettingsClass settingsClass(connectionString);
    HostDatabase database;
    EXPECT_THROW(database.OpenDatabaseSession(), SilentAbort) << connectionString;
    EXPECT_EQ(messages_.Shown(), std::vector<MessageBoxRequest>{kConnectionError});
    EXPECT_FALSE(settingsClass.ReceivedConnection()) << "nothing is handed to the host";
    database.CloseDatabaseSession();  // the tear-down after a failed start is harmless
  }
}

// A host whose two operations fail with a chosen code.
class FailingSettings : public ComObject {
 public:
  FailingSettings(HRESULT connectionString, HRESULT assign)
      : connectionString_(connectionString), assign_(assign) {}

 protected:
  void* FindInterface(REFIID iid) override {
    return iid == IID_IUnknown || iid == IID_IRecorder2000 ? &settings_ : nullptr;
  }

 private:
  static HRESULT ConnectionString(IRecorder2000* self, BSTR* text) {
    const HRESULT hr = ObjectOf<FailingSettings>(self).connectionString_;
    *text = SUCCEEDED(hr) ? SysAllocString(u"Provider=SQLite;Data Source=:memory:") : nullptr;
    return hr;
  }
  static HRESULT Assign(IRecorder2000* self, IDatabaseConnection*) {
    return ObjectOf<FailingSettings>(self).assign_;
  }
  static constexpr IRecorder2000Vtbl kTable{
      DispatchSlots<IRecorder2000>::kTable, {}, &ConnectionString, &Assign, {}};

  HRESULT connectionString_;
  HRESULT assign_;
  InterfaceSlot<IRecorder2000> settings_{&kTable, this};
};

TEST_F(OpenDatabaseSession, AFailingHostOperationRaisesItsCode) {
  struct Case {
    HRESULT connectionString;
    HRESULT assign;
  };
  for (const Case c : {Case{E_OUTOFMEMORY, S_OK}, Case{S_OK, E_NOTIMPL}}) {
    { host::ApplicationSettingsClass enterProgId(""); }
    ComPtr<IClassFactory> factory(ClassFactory::Create(
        [c] { return NewComObject<FailingSettings>(c.connectionString, c.assign); }));
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(host::CLSID_AutoApplicationSettings, AsUnknown(factory.Get()),
                                    CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    HostDatabase database;
    try {
      database.OpenDatabaseSession();
      ADD_FAILURE() << "no error raised";
    } catch (const ComError& e) {
      EXPECT_EQ(e.Code(), FAILED(c.connectionString) ? c.connectionString : c.assign);
    }
    EXPECT_TRUE(messages_.Shown().empty());
    CoRevokeClassObject(cookie);
  }
}

TEST_F(OpenDatabaseSession, TheDialogOpensItWhileItStartsAndClosesItWhenItGoes) {
  {
    DatabaseSession host;
    host.Open(ConnectionString());
    host.ExecuteNoRecords(
        "CREATE TABLE TAXON_GROUP (TAXON_GROUP_KEY, TAXON_GROUP_NAME, SORT_ORDER)");
    host.ExecuteNoRecords("INSERT INTO TAXON_GROUP VALUES ('G1', 'Farne', 1)");
    host.ExecuteNoRecords("CREATE TABLE SURVEY (SURVEY_KEY, ITEM_NAME)");
  }
  host::ApplicationSettingsClass settingsClass(ConnectionString());
  auto wizard = CreateWizard(std::make_unique<HostDatabase>());
  const ComPtr<IDatabaseConnection> received = settingsClass.ReceivedConnection();
  ASSERT_TRUE(received);
  EXPECT_EQ(StateOf(received.Get()), adStateOpen);
  ASSERT_EQ(wizard->clbTaxonGroups.Count(), 1) << "the lists come through the host's connection";
  EXPECT_EQ(wizard->clbTaxonGroups.Store(0).ID, "G1");
  wizard->Database->Session().ExecuteNoRecords("CREATE TABLE opened_here (id INTEGER)");

  DestroyWizard(std::move(wizard));
  EXPECT_EQ(StateOf(received.Get()), adStateClosed);
  EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(OpenDatabaseSession, WithoutTheHostsClassNoDialogOpensAndTheSettingsAreRewritten) {
  fs::create_directories(VelmoraFolderPath());
  testing::WriteFileBytes(SettingsFilePath(), "eMtbNW=6508\neMtbSE=6609\n");
  try {
    CreateWizard(std::make_unique<HostDatabase>());
    ADD_FAILURE() << "the dialog opened";
  } catch (const ComError& e) {
    EXPECT_EQ(e.Code(), CO_E_CLASSSTRING);
  }
  EXPECT_EQ(testing::ReadFileBytes(SettingsFilePath()),
            "eMtbNW=6508\r\neMtbSE=6609\r\nrgGridSystem=0\r\nrgGridType=0\r\n"
            "eBackgroundImage=\r\neFontSizeMargins=18\r\neFontSizeCells=10\r\n"
            "shpRBsrColor=clBlack\r\nshpCellValueColor=clBlack\r\n");
  fs::remove(SettingsFilePath());
}

}  // namespace
}  // namespace velmora
