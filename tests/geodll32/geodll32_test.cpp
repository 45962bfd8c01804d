// The geodetic library itself, called directly: the transformation agrees with
// PROJ's own command-line tools, and what it cannot do it reports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "GeoDLL32.h"
#include "support/run_command.h"

namespace velmora {
namespace {

struct Point {
  double latitude;
  double longitude;
};

// WGS84 points inside Germany, covered by the BETA2007 grid.
const std::vector<Point> kGermany = {
    {54.78, 9.43},   // Flensburg
    {53.55, 9.99},   // Hamburg
    {54.09, 13.38},  // Greifswald
    {52.52, 13.40},  // Berlin
    {51.34, 12.37},  // Leipzig
    {50.94, 6.96},   // Köln
    {50.11, 8.68},   // Frankfurt
    {49.43, 7.04},   // Saarland
    {48.14, 11.58},  // München
    {47.42, 10.98},  // Zugspitze
    {47.69, 9.17},   // Konstanz
    {51.05, 14.80},  // Görlitz
    {50.32, 11.91},  // Hof
};

// WGS84 points beyond the grid, where PROJ takes its next best operation.
const std::vector<Point> kBeyondGermany = {
    {52.37, 4.90},   // Amsterdam
    {50.85, 4.35},   // Brussels
    {49.61, 6.13},   // Luxembourg
    {48.58, 7.75},   // Strasbourg
    {47.37, 8.54},   // Zürich
    {47.80, 13.04},  // Salzburg
    {50.08, 14.42},  // Prague
    {52.41, 16.93},  // Poznań
    {55.68, 12.57},  // Copenhagen
    {56.50, 8.00},   // Jutland, north of the sheet grid
    {54.50, 7.00},   // North Sea
};

struct Transformed {
  int status;
  double latitude;
  double longitude;
};

Transformed Transform(Point p) {
  double a = 0;
  double b = 0;
  const int status = coordtrans3(p.longitude, p.latitude, 6, 10, 0, &a, &b, 1, 17, 0, 0);
  return {status, b, a};
}

std::string Lines(const std::vector<Point>& points, bool longitudeFirst) {
  std::ostringstream text;
  text.precision(17);
  for (const Point& p : points) {
    if (longitudeFirst) {
      text << p.longitude << ' ' << p.latitude << " 0 0\n";
    } else {
      text << p.latitude << ' ' << p.longitude << '\n';
    }
  }
  return text.str();
}

// Reads the first two numbers of every output line.
std::vector<Point> ReadPairs(const std::string& output, bool longitudeFirst) {
  std::istringstream lines(output);
  std::vector<Point> points;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    double first = NAN;
    double second = NAN;
    fields >> first >> second;
    points.push_back(longitudeFirst ? Point{second, first} : Point{first, second});
  }
  return points;
}

void ExpectAgreement(const std::vector<Point>& input, const std::vector<Point>& reference) {
  ASSERT_EQ(reference.size(), input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << input[i].latitude << " " << input[i].longitude);
    const Transformed t = Transform(input[i]);
    EXPECT_EQ(t.status, 0);
    EXPECT_NEAR(t.latitude, reference[i].latitude, 1e-8);
    EXPECT_NEAR(t.longitude, reference[i].longitude, 1e-8);
  }
}

TEST(GeoDll32, AgreesWithCs2csInsideAndAroundGermany) {
  std::vector<Point> points = kGermany;
  points.insert(points.end(), kBeyondGermany.begin(), kBeyondGermany.end());
  const testing::CommandResult cs2cs = testing::RunCommand(
      CS2CS_PATH, {"-f", "%.12f", "EPSG:4326", "EPSG:4314"}, Lines(points, false));
  ASSERT_EQ(cs2cs.exitStatus, 0) << cs2cs.err;
  ExpectAgreement(points, ReadPairs(cs2cs.out, false));
}

TEST(GeoDll32, UsesTheBeta2007GridInsideGermany) {
  // The inverse of the BETA2007 shift (DHDN to ETRS89, which equals WGS84 at
  // this accuracy), spelled out so that nothing else can stand in for it. The
  // Helmert transformations PROJ would take without the grid are off by a
  // metre or more, some 1e-5 degrees.
  const testing::CommandResult cct = testing::RunCommand(
      CCT_PATH,
      {"-d", "12", "+proj=pipeline", "+step", "+proj=unitconvert", "+xy_in=deg", "+xy_out=rad",
       "+step", "+inv", "+proj=hgridshift", "+grids=BETA2007.gsb", "+step", "+proj=unitconvert",
       "+xy_in=rad", "+xy_out=deg"},
      Lines(kGermany, true));
  ASSERT_EQ(cct.exitStatus, 0) << cct.err;
  ExpectAgreement(kGermany, ReadPairs(cct.out, true));
}

Transformed TransformBack(Point dhdn) {
  double a = 0;
  double b = 0;
  const int status = coordtrans3(dhdn.longitude, dhdn.latitude, 1, 17, 0, &a, &b, 6, 10, 0, 0);
  return {status, b, a};
}

// The way back undoes the way there, with the grid (whose inverse PROJ finds
// by iteration) and with the Helmert transformations beyond it alike, to a
// millimetre (1e-8 degrees); a metre of difference would be 1e-5.
TEST(GeoDll32, TheInverseTakesFramePointsBackToWgs84) {
  std::vector<Point> points = kGermany;
  points.insert(points.end(), kBeyondGermany.begin(), kBeyondGermany.end());
  for (const Point& p : points) {
    SCOPED_TRACE(::testing::Message() << p.latitude << " " << p.longitude);
    const Transformed there = Transform(p);
    ASSERT_EQ(there.status, 0);
    const Transformed back = TransformBack({there.latitude, there.longitude});
    EXPECT_EQ(back.status, 0);
    EXPECT_NEAR(back.latitude, p.latitude, 1e-8);
    EXPECT_NEAR(back.longitude, p.longitude, 1e-8);
  }
  const testing::CommandResult cs2cs = testing::RunCommand(
      CS2CS_PATH, {"-f", "%.12f", "EPSG:4314", "EPSG:4326"}, Lines(kGermany, false));
  ASSERT_EQ(cs2cs.exitStatus, 0) << cs2cs.err;
  const std::vector<Point> reference = ReadPairs(cs2cs.out, false);
  for (size_t i = 0; i < kGermany.size(); ++i) {
    const Transformed back = TransformBack(kGermany[i]);
    EXPECT_NEAR(back.latitude, reference[i].latitude, 1e-8) << "as PROJ's own tool goes back";
    EXPECT_NEAR(back.longitude, reference[i].longitude, 1e-8);
  }
}

TEST(GeoDll32, FailuresGiveANonZeroStatusAndNaN) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    double longitude;
    double latitude;
    std::int16_t codes[7];
  };
  const Case cases[] = {
      {"other source codes", 8.0, 50.0, {6, 11, 0, 1, 17, 0, 0}},
      {"other target codes", 8.0, 50.0, {6, 10, 0, 1, 17, 0, 1}},
      {"NaN latitude", 8.0, NAN, {6, 10, 0, 1, 17, 0, 0}},
      {"infinite longitude", kInf, 50.0, {6, 10, 0, 1, 17, 0, 0}},
      {"latitude beyond the pole", 7.0, 95.0, {6, 10, 0, 1, 17, 0, 0}},
      {"DHDN to itself", 8.0, 50.0, {1, 17, 0, 1, 17, 0, 0}},
      {"back with a zone", 8.0, 50.0, {1, 17, 0, 6, 10, 0, 1}},
      {"back from NaN", NAN, 50.0, {1, 17, 0, 6, 10, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double a = 0;
    double b = 0;
    const std::int16_t* k = c.codes;
    EXPECT_NE(
        coordtrans3(c.longitude, c.latitude, k[0], k[1], k[2], &a, &b, k[3], k[4], k[5], k[6]), 0);
    EXPECT_TRUE(std::isnan(a));
    EXPECT_TRUE(std::isnan(b));
  }
  EXPECT_EQ(Transform({50.0, 8.0}).status, 0) << "a failure leaves nothing behind";
}

struct Described {
  int status;
  std::string text;
};

Described Describe(Point p, const std::int16_t (&k)[7], int size = 256) {
  std::vector<char> text(static_cast<size_t>(std::max(size, 1)), 'x');
  const int status = velmora_describe_operation(p.longitude, p.latitude, k[0], k[1], k[2], k[3],
                                                k[4], k[5], k[6], text.data(), size);
  return {status, std::string(text.data(), strnlen(text.data(), text.size()))};
}

// The description names the operation coordtrans3 takes for the point, in
// PROJ's words: the BETA2007 grid shift inside Germany, the Helmert
// transformation of the former West Germany beyond it, and each run
// backwards for the way back.
TEST(GeoDll32, DescribesTheOperationItAppliesToThePoint) {
  constexpr std::int16_t kThere[7] = {6, 10, 0, 1, 17, 0, 0};
  constexpr std::int16_t kBack[7] = {1, 17, 0, 6, 10, 0, 0};
  constexpr const char* kGrid = ", grid [^ ,]*BETA2007[^ ,]*, accuracy 1 m$";
  struct Case {
    const char* what;
    Point point;
    const std::int16_t (&codes)[7];
    std::string pattern;
  };
  const Case cases[] = {
      {"Berlin", {52.52, 13.40}, kThere, std::string("^Inverse of DHDN to WGS 84 \\(4\\)") + kGrid},
      {"Berlin back", {52.52, 13.40}, kBack, std::string("^DHDN to WGS 84 \\(4\\)") + kGrid},
      {"Amsterdam", {52.37, 4.90}, kThere, "^Inverse of DHDN to WGS 84 \\(2\\), accuracy 3 m$"},
  };
  for (const Case& c : cases) {
    const Described d = Describe(c.point, c.codes);
    EXPECT_EQ(d.status, 0) << c.what;
    EXPECT_THAT(d.text, ::testing::MatchesRegex(c.pattern)) << c.what;
  }

  const Described cut = Describe({52.52, 13.40}, kThere, 10);
  EXPECT_EQ(cut.status, 0);
  EXPECT_EQ(cut.text, "Inverse o") << "cut to the size, the terminating NUL included";
  EXPECT_EQ(Describe({52.52, 13.40}, kThere, 0).text, "x") << "nothing written into no room";

  const Described otherCodes = Describe({52.52, 13.40}, {6, 10, 0, 1, 17, 0, 1});
  EXPECT_EQ(otherCodes.status, 1);
  EXPECT_EQ(otherCodes.text, "");
  const Described noPoint = Describe({NAN, 13.40}, kThere);
  EXPECT_EQ(noPoint.status, 2);
  EXPECT_EQ(noPoint.text, "");
}

}  // namespace
}  // namespace velmora
