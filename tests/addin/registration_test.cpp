#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "addin/addin_path.h"
#include "addin_module.h"
#include "platform/com/error_info.h"
#include "platform/com/registry.h"
#include "support/file_bytes.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using namespace velmora::com;

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove(RegistryFilePath()); }
  void TearDown() override { fs::remove(RegistryFilePath()); }
};

TEST_F(Registration, EntersTheClassAndTheTypeLibraryWithTheModulesPath) {
  ASSERT_EQ(testing::LoadAddinModule().DllRegisterServer(), S_OK);
  const Registry registry = Registry::Load(RegistryFilePath());
  const std::string module = testing::AddinModulePath();
  const std::string clsid = "HKEY_CLASSES_ROOT\\CLSID\\{31A2653D-33B7-4A09-86EC-1B5545067F3E}";
  const std::string libid = "{83B55A1F-7729-49AC-AB5A-7D423AF5D938}";
  const std::string typeLib = "HKEY_CLASSES_ROOT\\TypeLib\\" + libid + "\\1.0";
  const std::string dispatch =
      "HKEY_CLASSES_ROOT\\Interface\\{89E2AF0A-40A3-44CC-A8EE-D134234F8DA2}";
  const std::string automationProxy = "{00020424-0000-0000-C000-000000000046}";
  struct Entry {
    std::string key;
    std::string name;
    std::string value;
  };
  const Entry entries[] = {
      {clsid, "", "VelmoraMI Object"},
      {clsid + "\\InprocServer32", "", module},
      {clsid + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {clsid + "\\ProgID", "", "Velmora.VelmoraMI"},
      {clsid + "\\Version", "", "1.0"},
      {clsid + "\\TypeLib", "", libid},
      {"HKEY_CLASSES_ROOT\\Velmora.VelmoraMI", "", "VelmoraMI Object"},
      {"HKEY_CLASSES_ROOT\\Velmora.VelmoraMI\\Clsid", "", "{31A2653D-33B7-4A09-86EC-1B5545067F3E}"},
      {typeLib, "", "Velmora Library"},
      {typeLib + "\\0\\win32", "", module},
      {typeLib + "\\FLAGS", "", "0"},
      {typeLib + "\\HELPDIR", "", fs::path(module).parent_path().string()},
      {dispatch, "", "IVelmoraMI"},
      {dispatch + "\\ProxyStubClsid", "", automationProxy},
      {dispatch + "\\ProxyStubClsid32", "", automationProxy},
      {dispatch + "\\TypeLib", "", libid},
      {dispatch + "\\TypeLib", "Version", "1.0"},
  };
  for (const Entry& entry : entries) {
    EXPECT_EQ(registry.Value(entry.key, entry.name), entry.value) << entry.key << " " << entry.name;
  }
  EXPECT_EQ(fs::path(module).filename(), kModuleFileName) << "the name the add-in path is given";
}

TEST_F(Registration, RegisterThenUnregisterLeavesTheRegistryFileAsItWas) {
  // Another class, the host's settings, and a second version of the type
  // library that unregistering must leave alone.
  UpdateRegistry([](Registry& registry) {
    registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{6B6B9DAF-D793-45E6-BFDD-A7A9AF235B45}", "",
                      "Recorder 2000 application settings");
    registry.SetValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Dorset Software\\Recorder 6", "Addin Path",
                      "/opt/recorder/addins");
    registry.SetValue("HKEY_CLASSES_ROOT\\TypeLib\\{83B55A1F-7729-49AC-AB5A-7D423AF5D938}\\2.0", "",
                      "Velmora Library, a later version");
  });
  const std::string before = testing::ReadFileBytes(RegistryFilePath());
  const testing::AddinModule& module = testing::LoadAddinModule();
  ASSERT_EQ(module.DllRegisterServer(), S_OK);
  EXPECT_NE(testing::ReadFileBytes(RegistryFilePath()), before);
  ASSERT_EQ(module.DllRegisterServer(), S_OK) << "registering twice changes nothing more";
  ASSERT_EQ(module.DllUnregisterServer(), S_OK);
  EXPECT_EQ(testing::ReadFileBytes(RegistryFilePath()), before);

  // Without other versions the type library's key goes as well.
  fs::remove(RegistryFilePath());
  UpdateRegistry(
      [](Registry& registry) { registry.SetValue("HKEY_CLASSES_ROOT\\.txt", "", "txtfile"); });
  const std::string alone = testing::ReadFileBytes(RegistryFilePath());
  ASSERT_EQ(module.DllRegisterServer(), S_OK);
  ASSERT_EQ(module.DllUnregisterServer(), S_OK);
  EXPECT_EQ(testing::ReadFileBytes(RegistryFilePath()), alone);
  EXPECT_EQ(module.DllUnregisterServer(), S_OK) << "nothing left to remove";
}

TEST_F(Registration, ARegistryThatCannotBeWrittenIsEFailWithTheReason) {
  // The registry's folder would have to lie below a plain file.
  const testing::TempFolder folder;
  const fs::path file = folder.Path() / "not a folder";
  testing::WriteFileBytes(file, "");
  const std::string config = std::getenv("XDG_CONFIG_HOME");
  ::setenv("XDG_CONFIG_HOME", file.c_str(), 1);
  const testing::AddinModule& module = testing::LoadAddinModule();
  const HRESULT registered = module.DllRegisterServer();
  const std::optional<ErrorDescription> error = TakeErrorDescription();
  const HRESULT unregistered = module.DllUnregisterServer();
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);

  EXPECT_EQ(registered, E_FAIL);
  ASSERT_TRUE(error);
  EXPECT_NE(error->description.find("registry file"), std::string::npos) << error->description;
  EXPECT_EQ(error->source, "Velmora.VelmoraMI");
  EXPECT_EQ(unregistered, E_FAIL);
}

TEST(ModuleExports, TheModuleShowsItsFourEntryPointsAndNothingElse) {
  if (!fs::exists("/usr/bin/nm")) GTEST_SKIP() << "no nm";
  const testing::CommandResult nm =
      testing::RunCommand("/usr/bin/nm", {"-D", "--defined-only", testing::AddinModulePath()});
  ASSERT_EQ(nm.exitStatus, 0) << nm.err;
  std::set<std::string> names;
  std::istringstream lines(nm.out);
  for (std::string address, type, name; lines >> address >> type >> name;) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                          "DllRegisterServer", "DllUnregisterServer"}))
      << nm.out;
}

}  // namespace
}  // namespace velmora
