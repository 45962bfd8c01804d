#include "grid/coordinate_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "grid/cell_geometry.h"
#include "grid/cell_list.h"
#include "grid/geodll32.h"
#include "grid/grid_types.h"
#include "grid/sheet.h"
#include "platform/message_box.h"

namespace velmora {
namespace {

// Grid-frame points with their minute-field and progressive quadrant codes.
struct FramePoint {
  double latitude;
  double longitude;
  const char* minuteField;
  const char* quadrant;
};

constexpr FramePoint kFramePoints[] = {
    {49.43, 7.04, "6508/323", "6508/314"},    // row value 65.7, column value 8.24
    {50.03, 5.62, "W5999/423", "W5999/414"},  // sheet column -1
    {47.27, 10.18, "8727/121", "8727/131"},
    {54.9, 8.3, "1115/214", "1115/221"},
    {51.0, 6.0, "5002/111", "5002/111"},      // on the corner of a sheet
    {55.93, 7.04, "0008/323", ""},            // sheet row 0: minute fields only
    {51.03, 5.7, "4900/323", "4900/314"},     // column value 0.2: column 00, no W
    {60.0, 7.04, "", ""},                     // sheet row negative
    {51.0, 40.0, "", ""},                     // sheet column above 99
    {51.0, -10.7, "W5001/214", "W5001/221"},  // sheet column -99, the westmost
    {51.0, -10.9, "", ""},                    // sheet column -100
    {46.03, 7.04, "9908/323", "9908/314"},    // sheet row 99, the southmost
    {45.97, 7.04, "", ""},                    // sheet row 100
};

TEST(CellCode, FramePointsInBothSystems) {
  for (const FramePoint& p : kFramePoints) {
    SCOPED_TRACE(testing::Message() << p.latitude << ", " << p.longitude);
    EXPECT_EQ(MinuteFieldCellCode(p.latitude, p.longitude), p.minuteField);
    EXPECT_EQ(QuadrantCellCode(p.latitude, p.longitude), p.quadrant);
  }
}

TEST(CellCode, NonFiniteAndHugeCoordinatesGiveEmptyTextNotUndefinedBehaviour) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double bad[] = {NAN, kInf, -kInf, 1e300, -1e300, 1e12, -1e12};
  for (const double value : bad) {
    SCOPED_TRACE(value);
    EXPECT_EQ(MinuteFieldCellCode(value, 7.04), "");
    EXPECT_EQ(MinuteFieldCellCode(49.43, value), "");
    EXPECT_EQ(QuadrantCellCode(value, 7.04), "");
    EXPECT_EQ(QuadrantCellCode(49.43, value), "");
  }
}

// The centre of every cell of the cell list converts back to that cell: the
// cell list, the cells' bounds and the conversion agree on the geometry of
// sheets and cells.
TEST(CellCode, CellCentresAgreeWithTheCellList) {
  const std::pair<const char*, const char*> extents[] = {
      {"6508", "6609"}, {"W5998", "6001"}, {"0008", "0109"}, {"9897", "9999"}};
  for (const GridTypeInfo& type : kGridTypes) {
    for (const GridSystemInfo& system : kGridSystems) {
      if (!system.offersGridType[type.item]) continue;
      for (const auto& [nw, se] : extents) {
        SCOPED_TRACE(testing::Message() << type.name << " " << system.code << " " << nw);
        MapState state;
        BuildCellList({type.item, system.item, Extent::Read(nw, se), ""}, state);
        ASSERT_GT(state.CellRows, 0);
        for (int row = 1; row <= state.CellRows; ++row) {
          for (int column = 1; column <= state.CellColumns; ++column) {
            const std::string expected =
                CellCodeAt(column, row, Sheet(state.NwRow, state.NwColumnIndex), type);
            const FrameBounds bounds = CellFrameBounds(state, row - 1, column - 1);
            const double latitude = (bounds.north + bounds.south) / 2;
            const double longitude = (bounds.west + bounds.east) / 2;
            const std::string code = system.code == kMinuteFieldSystemCode
                                         ? MinuteFieldCellCode(latitude, longitude)
                                         : QuadrantCellCode(latitude, longitude);
            if (system.code == kQuadrantSystemCode && expected.starts_with("00")) {
              EXPECT_EQ(code, "") << "sheet row 0 has no progressive quadrant codes";
              continue;
            }
            ASSERT_EQ(code.substr(0, expected.size()), expected) << row << "," << column;
          }
        }
      }
    }
  }
}

class CoordinateToCellCodeTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadGeodeticLibraryFrom("libGeoDLL32.so"); }
  RecordingMessageSink messages_;
};

TEST_F(CoordinateToCellCodeTest, TransformsWgs84ThenPicksTheSystemByItsExactCode) {
  // WGS84 51.0 N 6.0 E is 51.00126 N 6.00063 E in DHDN (cs2cs): north of the
  // corner of 5002, in the south-west corner of 4902.
  EXPECT_EQ(MinuteFieldCellCode(51.0, 6.0), "5002/111");
  EXPECT_EQ(CoordinateToCellCode("QYX", 51.0, 6.0), "4902/331");
  EXPECT_EQ(CoordinateToCellCode("QQQ", 51.0, 6.0), "4902/333");
  EXPECT_EQ(CoordinateToCellCode("qyx", 51.0, 6.0), "4902/333");
  EXPECT_EQ(CoordinateToCellCode("", 51.0, 6.0), "4902/333");
  EXPECT_TRUE(messages_.Shown().empty());
}

// The way back from the frame lands in the cell the way there assigns: a
// cell's centre taken to WGS84 converts to the cell's own code.
TEST_F(CoordinateToCellCodeTest, FrameToWgs84IsTheWayBack) {
  MapState state;
  BuildCellList({4, 0, Extent::Read("W5999", "6001"), ""}, state);
  for (int row = 0; row < state.CellRows; row += 7) {
    for (int column = 0; column < state.CellColumns; column += 3) {
      const FrameBounds bounds = CellFrameBounds(state, row, column);
      const std::optional<GeoPoint> centre =
          FrameToWgs84({(bounds.north + bounds.south) / 2, (bounds.west + bounds.east) / 2});
      ASSERT_TRUE(centre);
      EXPECT_EQ(CoordinateToCellCode("QYX", centre->latitude, centre->longitude),
                state.Grids[row][column].Code);
    }
  }
  // cs2cs EPSG:4326 EPSG:4314 takes WGS84 51.0 N 6.0 E to 51.001264213 N
  // 6.000627709 E; this is the way back.
  const std::optional<GeoPoint> back = FrameToWgs84({51.001264213, 6.000627709});
  ASSERT_TRUE(back);
  EXPECT_NEAR(back->latitude, 51.0, 1e-8);
  EXPECT_NEAR(back->longitude, 6.0, 1e-8);
  EXPECT_FALSE(FrameToWgs84({NAN, 6.0}));
  EXPECT_TRUE(messages_.Shown().empty());
}

TEST(FrameToWgs84, WithoutTheLibraryGivesNothingAndShowsNothing) {
  RecordingMessageSink messages;
  LoadGeodeticLibraryFrom("libGeoDLL32-not-installed.so");
  messages.Clear();
  EXPECT_FALSE(IsGeodeticLibraryBound());
  EXPECT_FALSE(FrameToWgs84({50.0, 7.0}));
  EXPECT_TRUE(messages.Shown().empty()) << "no fallback message for each point";
  LoadGeodeticLibraryFrom("libGeoDLL32.so");
  EXPECT_TRUE(IsGeodeticLibraryBound());
}

TEST_F(CoordinateToCellCodeTest, PointsTheLibraryCannotTransformGiveEmptyText) {
  EXPECT_EQ(CoordinateToCellCode("QYX", NAN, 7.0), "");
  EXPECT_EQ(CoordinateToCellCode("QYX", 50.0, std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(CoordinateToCellCode("QQQ", 1e300, 7.0), "");
  EXPECT_TRUE(messages_.Shown().empty());
}

// A longitude a turn too far must not wrap round into a sheet (367.2 to 7.2),
// and a latitude beyond a pole is no point either: no cell, whatever the
// library would make of them.
TEST_F(CoordinateToCellCodeTest, CoordinatesOutsideTheGlobeGiveEmptyText) {
  const GeoPoint outside[] = {{49.4, 367.2}, {49.4, -352.8}, {49.4, 180.0001},
                              {90.5, 7.0},   {-91.0, 7.0},   {49.4, -712.8}};
  for (const GeoPoint& p : outside) {
    EXPECT_EQ(CoordinateToCellCode("QYX", p.latitude, p.longitude), "")
        << p.latitude << " " << p.longitude;
  }
  EXPECT_EQ(CoordinateToCellCode("QYX", 49.4, 7.2), "6509/333") << "the same point on the globe";
}

}  // namespace
}  // namespace velmora
