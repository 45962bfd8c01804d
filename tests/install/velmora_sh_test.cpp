// ./velmora.sh, the README's entry point: its help and its refusals come
// before it installs or builds anything.
#include <gtest/gtest.h>

#include <string>

#include "support/run_command.h"

namespace velmora {
namespace {

using testing::CommandResult;

TEST(VelmoraScript, HelpListsTheCommandsOnStandardOutput) {
  const CommandResult help = testing::RunCommand(VELMORA_SCRIPT, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: ./velmora.sh COMMAND\n", 0), 0u) << help.out;
  for (const char* command : {"\n  demo ", "\n  test [PRESET] ", "\n  demo-db ", "\n  build "}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  EXPECT_EQ(testing::RunCommand(VELMORA_SCRIPT, {"-h"}).out, help.out);
  EXPECT_EQ(testing::RunCommand(VELMORA_SCRIPT, {"help"}).out, help.out);

  const CommandResult unknown = testing::RunCommand(VELMORA_SCRIPT, {"demos"});
  EXPECT_EQ(unknown.exitStatus, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err, "velmora.sh: unknown command 'demos'\n" + help.out);
  const CommandResult none = testing::RunCommand(VELMORA_SCRIPT, {});
  EXPECT_EQ(none.exitStatus, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, help.out);
}

}  // namespace
}  // namespace velmora
