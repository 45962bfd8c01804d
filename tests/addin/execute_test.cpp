#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/Velmora_TLB.h"
#include "addin_module.h"
#include "demo/demo_database.h"
#include "host/application_settings.h"
#include "host_interfaces/host_addin.h"
#include "modal_closer.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/com_ptr.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "platform/db/connection_string.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

using testing::ModalCloser;

HRESULT RunStatement(IDatabaseConnection* connection, const std::string& sql) {
  const BStr text(sql);
  LONG affected = 0;
  return connection->vtbl->Execute(connection, text.Get(), &affected);
}

class Execute : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testing::TempFolder>();
    demo::DemoOptions options;
    options.samples = 40;
    options.taxa = 30;
    demo::WriteDemoDatabase(Database(), options);
  }
  static void TearDownTestSuite() { folder_.reset(); }
  static fs::path Database() { return folder_->Path() / "Grüne Wiese.sqlite"; }

  void SetUp() override {
    fs::remove(RegistryFilePath());
    ASSERT_EQ(testing::LoadAddinModule().DllRegisterServer(), S_OK);
    ASSERT_EQ(CoCreateInstance(CLASS_VelmoraMI, nullptr, CLSCTX_INPROC_SERVER, IID_IHostAction,
                               action_.OutVoid()),
              S_OK);
  }
  void TearDown() override {
    action_.Reset();
    fs::remove(RegistryFilePath());
  }

  HRESULT Run() { return action_->vtbl->Execute(action_.Get()); }
  static std::string ConnectionString() { return SqliteConnectionString(Database()); }

  static std::unique_ptr<testing::TempFolder> folder_;
  ComPtr<IHostAction> action_;
};

std::unique_ptr<testing::TempFolder> Execute::folder_;

TEST_F(Execute, WithoutTheHostsClassFailsWithTheReasonAndStaysUsable) {
  {
    ModalCloser user;
    EXPECT_EQ(Run(), CO_E_CLASSSTRING) << "the host's ProgID is unknown";
    EXPECT_TRUE(user.Closed().empty()) << "no dialog opened";
  }
  const std::optional<ErrorDescription> error = TakeErrorDescription();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, ResultCodeMessage(CO_E_CLASSSTRING));
  EXPECT_EQ(error->source, "Velmora.VelmoraMI");
  EXPECT_EQ(error->iid, IID_IHostAction);

  // The same object opens the wizard once the host offers its class.
  host::ApplicationSettingsClass settings(ConnectionString());
  ModalCloser user;
  EXPECT_EQ(Run(), S_OK);
  EXPECT_EQ(user.Closed(), std::vector<std::string>{"window: Velmora"});
}

TEST_F(Execute, EachCallOpensADialogWithAConnectionOfItsOwn) {
  host::ApplicationSettingsClass settings(ConnectionString());
  std::vector<ComPtr<IDatabaseConnection>> connections;
  std::vector<HRESULT> inserts;
  ModalCloser user([&](QWidget&) {
    // While the dialog shows, the host holds the connection it was handed.
    ComPtr<IDatabaseConnection> connection = settings.ReceivedConnection();
    ASSERT_TRUE(connection);
    if (connections.empty()) {
      EXPECT_EQ(RunStatement(connection.Get(), "CREATE TEMP TABLE marker (id INTEGER)"), S_OK);
    }
    inserts.push_back(RunStatement(connection.Get(), "INSERT INTO marker VALUES (1)"));
    TakeErrorDescription();
    LONG state = -1;
    connection->vtbl->State(connection.Get(), &state);
    EXPECT_EQ(state, adStateOpen);
    connections.push_back(connection);
  });
  EXPECT_EQ(Run(), S_OK);
  EXPECT_EQ(Run(), S_OK);

  ASSERT_EQ(user.Closed(), (std::vector<std::string>{"window: Velmora", "window: Velmora"}));
  ASSERT_EQ(connections.size(), 2u);
  EXPECT_NE(connections[0].Get(), connections[1].Get());
  EXPECT_EQ(inserts, (std::vector<HRESULT>{S_OK, E_FAIL}))
      << "the temporary table of the first dialog is gone in the second";
  for (const ComPtr<IDatabaseConnection>& connection : connections) {
    LONG state = -1;
    connection->vtbl->State(connection.Get(), &state);
    EXPECT_EQ(state, adStateClosed) << "each dialog closed its connection when it went";
  }
}

TEST_F(Execute, ARefusedConnectionIsToldOnceThenReportedAsAborted) {
  host::ApplicationSettingsClass settings(
      SqliteConnectionString(folder_->Path() / "missing folder" / "nbn.db"));
  ModalCloser user;
  EXPECT_EQ(Run(), E_UNEXPECTED);
  EXPECT_EQ(user.Closed(), std::vector<std::string>{"message: Error while connecting"});
  const std::optional<ErrorDescription> error = TakeErrorDescription();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Operation aborted");
  EXPECT_EQ(error->source, "Velmora.VelmoraMI");
}

}  // namespace
}  // namespace velmora
