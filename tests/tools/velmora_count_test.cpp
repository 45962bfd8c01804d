// Golden tests of the velmora-count command line: stdout, stderr and the exit
// status all count.
#include <gtest/gtest.h>

#include "support/run_command.h"

namespace velmora {
namespace {

using velmora::testing::CommandResult;
using velmora::testing::RunCommand;

CommandResult Count(const std::vector<std::string>& args) {
  return RunCommand(VELMORA_COUNT_PATH, args);
}

TEST(VelmoraCountCells, PrintsOneLinePerCellRowWithTabs) {
  const CommandResult r = Count({"cells", "6508", "6609", "Quadranten"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "6508/1\t6508/2\t6509/1\t6509/2\n"
            "6508/3\t6508/4\t6509/3\t6509/4\n"
            "6608/1\t6608/2\t6609/1\t6609/2\n"
            "6608/3\t6608/4\t6609/3\t6609/4\n");
  EXPECT_EQ(Count({"cells", "6508", "6609", "1"}).out, r.out) << "item index and name agree";
}

TEST(VelmoraCountCells, WestSheetsAndEveryGridTypeName) {
  EXPECT_EQ(Count({"cells", "W5099", "5000", "Messtischblatt"}).out, "W5099\t5000\n");
  EXPECT_EQ(Count({"cells", "6508", "6508", "4tel-Quadranten"}).out.substr(0, 16),
            "6508/11\t6508/12\t");
  EXPECT_EQ(Count({"cells", "6508", "6508", "16tel-Quadranten"}).out.substr(0, 9), "6508/111\t");
  const CommandResult minutes = Count({"cells", "6508", "6508", "Minutenfelder"});
  EXPECT_EQ(minutes.exitStatus, 0);
  EXPECT_EQ(minutes.out.substr(minutes.out.size() - 9), "6508/435\n");
}

TEST(VelmoraCountSheets, PrintsTheSqlSheetList) {
  const CommandResult r = Count({"sheets", "0901", "1002"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "('0901','0902','1001','1002')\n");
  EXPECT_EQ(Count({"sheets", "6508", "6508"}).out, "('6508')\n");
}

TEST(VelmoraCount, BadInputExitsWithStatusTwoAndNothingOnStdout) {
  const std::vector<std::vector<std::string>> bad = {
      {"cells", "0901", "1002"},
      {"cells", "0901", "1002", "Viertel"},
      {"cells", "0901", "1002", "5"},
      {"cells", "w901", "1002", "0"},
      {"cells", "1002", "0901", "0"},
      {"cells", "6508", "6601", "0"},
      {"sheets", "0901"},
      {"sheets", "0901", "1002", "extra"},
      {"frobnicate"},
      {},
  };
  for (const auto& args : bad) {
    const CommandResult r = Count(args);
    EXPECT_EQ(r.exitStatus, 2) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
  }
  EXPECT_NE(Count({"cells", "w901", "1002", "0"}).err.find("'w901'"), std::string::npos)
      << "the message names the bad sheet number";
}

TEST(VelmoraCount, HelpGoesToStandardOutputWithStatusZero) {
  const CommandResult help = Count({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("usage: velmora-count count (--db PATH | --connect TEXT)", 0), 0u)
      << help.out;
  for (const char* command : {"count", "cells", "sheets", "convert", "GRIDTYPE", "Exit status"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  EXPECT_EQ(Count({"-h"}).out, help.out);
  EXPECT_EQ(Count({"count", "--db", "x.db", "--help"}).out, help.out)
      << "asked for anywhere, before the arguments are checked";
  EXPECT_EQ(Count({"convert", "-h"}).exitStatus, 0);

  const CommandResult none = Count({});
  EXPECT_EQ(none.exitStatus, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err.rfind("usage: velmora-count", 0), 0u) << none.err;
}

}  // namespace
}  // namespace velmora
