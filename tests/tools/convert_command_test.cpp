// Golden tests of velmora-count convert: stdout, stderr and the exit status.
#include <gtest/gtest.h>

#include "support/run_command.h"

namespace velmora {
namespace {

using velmora::testing::CommandResult;
using velmora::testing::RunCommand;

CommandResult Convert(const std::vector<std::string>& args, const std::string& input = "") {
  std::vector<std::string> all = {"convert"};
  all.insert(all.end(), args.begin(), args.end());
  return RunCommand(VELMORA_COUNT_PATH, all, input);
}

TEST(VelmoraCountConvert, OnePointInEitherFrameAndSystem) {
  struct Case {
    std::vector<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {{"--frame", "49.43", "7.04"}, "6508/323\n"},
      {{"--frame", "--system", "QQQ", "49.43", "7.04"}, "6508/314\n"},
      {{"--system", "QYX", "--frame", "50.03", "5.62"}, "W5999/423\n"},
      {{"--frame", "--system", "QQQ", "55.93", "7.04"}, "\n"},
      // WGS84 51.0 N 6.0 E is 51.00126 N 6.00063 E in DHDN, inside 4902.
      {{"51.0", "6.0"}, "4902/331\n"},
      {{"--system", "QQQ", "51.0", "6.0"}, "4902/333\n"},
      {{"60.0", "7.04"}, "\n"},
      {{"--frame", "51.0", "-10.9"}, "\n"},
  };
  for (const Case& c : cases) {
    const CommandResult r = Convert(c.args);
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, c.out);
  }
}

TEST(VelmoraCountConvert, StandardInputGivesOneLinePerLineAndReportsBadLines) {
  const CommandResult r = Convert({"--frame"},
                                  "49.43 7.04\n"
                                  "49,43 7,04\n"
                                  "  54.9\t8.3 \r\n"
                                  "47.27 10.18 3\n"
                                  "60 7.04\n"
                                  "51.0 6.0");
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.out, "6508/323\n\n1115/214\n\n\n5002/111\n");
  EXPECT_EQ(r.err,
            "velmora-count: line 2: '49,43 7,04' is not a pair of numbers LAT LON\n"
            "velmora-count: line 4: '47.27 10.18 3' is not a pair of numbers LAT LON\n");

  const CommandResult good = Convert({"--system", "QQQ"}, "51.0 6.0\n49.43 7.04\n");
  EXPECT_EQ(good.exitStatus, 0);
  EXPECT_EQ(good.err, "");
  EXPECT_EQ(good.out, "4902/333\n6508/314\n");
}

TEST(VelmoraCountConvert, BlankLinesAtTheEndAreNoInput) {
  const CommandResult trailing = Convert({"--frame"}, "49.43 7.04\n\n");
  EXPECT_EQ(trailing.exitStatus, 0);
  EXPECT_EQ(trailing.err, "");
  EXPECT_EQ(trailing.out, "6508/323\n");
  const CommandResult several = Convert({"--frame"}, "49.43 7.04\r\n \r\n\n\t\n");
  EXPECT_EQ(several.exitStatus, 0);
  EXPECT_EQ(several.err, "");
  EXPECT_EQ(several.out, "6508/323\n");

  const CommandResult inside = Convert({"--frame"}, "49.43 7.04\n\n \n51.0 6.0\n\n");
  EXPECT_EQ(inside.exitStatus, 2) << "a blank line before more input is a line without a pair";
  EXPECT_EQ(inside.out, "6508/323\n\n\n5002/111\n");
  EXPECT_EQ(inside.err,
            "velmora-count: line 2: '' is not a pair of numbers LAT LON\n"
            "velmora-count: line 3: ' ' is not a pair of numbers LAT LON\n");
}

TEST(VelmoraCountConvert, BadArgumentsExitWithStatusTwoAndNothingOnStdout) {
  const std::vector<std::vector<std::string>> bad = {
      {"49.43"},         {"49.43", "7.04", "1"},
      {"49,43", "7.04"}, {"--system", "qyx", "49.43", "7.04"},
      {"--system"},      {"--frames", "49.43", "7.04"},
  };
  for (const auto& args : bad) {
    const CommandResult r = Convert(args);
    EXPECT_EQ(r.exitStatus, 2) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
  }
}

}  // namespace
}  // namespace velmora
