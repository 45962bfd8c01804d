// The host's first contact with the add-in: a process that has never loaded
// the module finds the class through the registry file alone. This program
// holds only this test, so that the module is not yet loaded when it starts.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "addin/Velmora_TLB.h"
#include "addin_module.h"
#include "host_interfaces/host_addin.h"
#include "platform/com/activation.h"
#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"
#include "platform/com/registry.h"

namespace velmora {
namespace {

using namespace velmora::com;

// Registers the module from a child process, so that this one stays fresh.
void RegisterInChildProcess() {
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    const bool registered = testing::LoadAddinModule().DllRegisterServer() == S_OK;
    ::_exit(registered ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "DllRegisterServer failed";
}

TEST(AddinActivation, AFreshProcessCreatesTheObjectThroughTheRegistryFile) {
  std::filesystem::remove(RegistryFilePath());
  RegisterInChildProcess();
  ASSERT_FALSE(testing::IsAddinModuleLoaded());

  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(u"Velmora.VelmoraMI", &clsid), S_OK);
  EXPECT_EQ(clsid, CLASS_VelmoraMI);
  ComPtr<IHostAddinInfo> info;
  ASSERT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IHostAddinInfo, info.OutVoid()),
      S_OK);
  EXPECT_TRUE(testing::IsAddinModuleLoaded()) << "from the path in InprocServer32";
  BStr name;
  ASSERT_EQ(info->vtbl->AddinName(info.Get(), name.Out()), S_OK);
  EXPECT_EQ(name.Utf8(), "Velmora Addin");
  std::filesystem::remove(RegistryFilePath());
}

}  // namespace
}  // namespace velmora
