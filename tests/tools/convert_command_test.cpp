// Golden tests of velmora-count convert: stdout, stderr and the exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <charconv>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The "key: value" lines of an explanation, in order.
std::vector<std::pair<std::string, std::string>> KeyValueLines(const std::string& out) {
  std::vector<std::pair<std::string, std::string>> lines;
  std::istringstream text(out);
  std::string line;
  while (std::getline(text, line)) {
    const size_t colon = line.find(": ");
    lines.emplace_back(line.substr(0, colon),
                       colon == std::string::npos ? "" : line.substr(colon + 2));
  }
  return lines;
}

TEST(VelmoraCountConvertExplain, SaysWhereTheShiftTakesAPointAndHowNearItLiesToAnEdge) {
  constexpr const char* kBeta2007 =
      "Inverse of DHDN to WGS 84 \\(4\\), grid [^ ,]*BETA2007[^ ,]*, accuracy 1 m";
  constexpr const char* kHelmert = "Inverse of DHDN to WGS 84 \\(2\\), accuracy 3 m";
  struct Case {
    const char* latitude;
    const char* longitude;
    const char* wgs84;
    const char* operation;  // a regular expression
    const char* cells;
    const char* edge;
  };
  // The first three points lie on minute lines (13°35' E, 4°54' E, 55°57' N):
  // the shift alone takes them into their cells, as far as the edge says.
  const Case cases[] = {
      {"52.25", "13.5833333333", "52.250000000 13.583333333", kBeta2007,
       "QYX 3747 3747/2 3747/231; QQQ 3747 3747/2 3747/23 3747/233",
       "QYX 120.6 m to the west edge; QQQ 120.6 m to the west edge"},
      // Amsterdam: beyond the grid file, in a west sheet.
      {"52.37", "4.9", "52.370000000 4.900000000", kHelmert,
       "QYX W3695 W3695/1 W3695/125; QQQ W3695 W3695/1 W3695/14 W3695/142",
       "QYX 29.1 m to the west edge; QQQ 312.8 m to the west edge"},
      // Sheet row 0: minute fields only.
      {"55.95", "7.04", "55.950000000 7.040000000", kHelmert, "QYX 0008 0008/1 0008/133; QQQ none",
       "QYX 204.1 m to the south edge; QQQ none"},
      {"60", "7.04", "60.000000000 7.040000000", kHelmert, "none", "none"},
  };
  const std::regex shift(
      "north [+-][0-9]+\\.[0-9] m \\([+-][0-9]+\\.[0-9]{3}\"\\), "
      "east [+-][0-9]+\\.[0-9] m \\([+-][0-9]+\\.[0-9]{3}\"\\)");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wgs84);
    const CommandResult r = Convert({"--explain", c.latitude, c.longitude});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = KeyValueLines(r.out);
    ASSERT_EQ(lines.size(), 6u) << r.out;
    const char* keys[] = {"wgs84", "dhdn", "shift", "operation", "cells", "edge"};
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].first, keys[i]);
    EXPECT_EQ(lines[0].second, c.wgs84);
    EXPECT_TRUE(std::regex_match(lines[2].second, shift)) << lines[2].second;
    EXPECT_THAT(lines[3].second, ::testing::MatchesRegex(c.operation));
    EXPECT_EQ(lines[4].second, c.cells);
    EXPECT_EQ(lines[5].second, c.edge);
  }
}

double NumberAt(const std::string& text, size_t position) {
  double value = 0;
  if (text[position] == '+') ++position;
  std::from_chars(text.data() + position, text.data() + text.size(), value);
  return value;
}

// The published corrections from WGS84 to the Potsdam datum for 52°15' N
// 13°35' E are +4.96" in latitude and +6.38" in longitude. On the ground the
// two readings lie 153.116 m apart along the meridian and 120.643 m along the
// parallel (geod +ellps=bessel -I).
TEST(VelmoraCountConvertExplain, TheShiftAgreesWithThePublishedCorrections) {
  const CommandResult r = Convert({"--explain", "52.25", "13.5833333333"});
  ASSERT_EQ(r.exitStatus, 0);
  const std::string shift = KeyValueLines(r.out).at(2).second;
  const size_t east = shift.find("east ");
  ASSERT_NE(east, std::string::npos) << shift;
  EXPECT_NEAR(NumberAt(shift, shift.find('(') + 1), 4.96, 0.1) << shift;
  EXPECT_NEAR(NumberAt(shift, shift.find('(', east) + 1), 6.38, 0.1) << shift;
  EXPECT_NEAR(NumberAt(shift, 6), 153.116, 0.06) << shift;
  EXPECT_NEAR(NumberAt(shift, east + 5), 120.643, 0.06) << shift;
}

TEST(VelmoraCountConvertExplain, BadInputExitsWithStatusTwoAndNamesIt) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--explain", "abc", "7"}, "'abc' is not a number"},
      {{"--explain", "52,5", "7"}, "'52,5' is not a number"},
      {{"--explain", "95", "7"}, "'95' is not a latitude from -90 to 90"},
      {{"--explain", "nan", "7"}, "'nan' is not a latitude from -90 to 90"},
      {{"--explain", "52", "367.2"}, "'367.2' is not a longitude from -180 to 180"},
      {{"--explain", "52"}, "usage: velmora-count convert --explain LAT LON"},
      {{"--explain"}, "usage: velmora-count convert --explain LAT LON"},
      {{"--explain", "--frame", "52", "7"}, "--explain takes a WGS84 point, not --frame"},
      {{"--system", "QQQ", "--explain", "52", "7"},
       "--explain shows both grid systems, not --system"},
  };
  for (const Case& c : cases) {
    const CommandResult r = Convert(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.message;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("velmora-count: ") + c.message + "\n");
  }
}

}  // namespace
}  // namespace velmora
