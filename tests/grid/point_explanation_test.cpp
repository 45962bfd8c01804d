#include "grid/point_explanation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/geodll32.h"

namespace velmora {
namespace {

using Codes = std::vector<std::string>;

struct SystemExpectation {
  Codes codes;
  CellSide side;
  double metres;  // the geodesic distance on the Bessel ellipsoid, from PROJ's geod
};

// Grid-frame points with their cells and the nearest edge of the finest cell
// in each system. The reference distances are geod +ellps=bessel -I from the
// point to the foot on the edge (same longitude for a north or south edge,
// same latitude for a west or east edge).
struct FrameCase {
  double latitude;
  double longitude;
  SystemExpectation minuteFields;
  SystemExpectation quadrants;
};

const FrameCase kFrameCases[] = {
    {49.43,
     7.04,
     {{"6508", "6508/3", "6508/323"}, CellSide::North, 370.685},
     {{"6508", "6508/3", "6508/31", "6508/314"}, CellSide::East, 120.885}},
    {50.03,
     5.62,
     {{"W5999", "W5999/4", "W5999/423"}, CellSide::West, 238.808},
     {{"W5999", "W5999/4", "W5999/41", "W5999/414"}, CellSide::East, 358.212}},
    {51.07,
     6.99,
     {{"4907", "4907/2", "4907/225"}, CellSide::South, 370.790},
     {{"4907", "4907/2", "4907/24", "4907/242"}, CellSide::North, 556.185}},
    {47.27,
     10.18,
     {{"8727", "8727/1", "8727/121"}, CellSide::East, 252.209},
     {{"8727", "8727/1", "8727/13", "8727/131"}, CellSide::North, 555.818}},
};

void ExpectSystem(const SystemCells& cells, const SystemExpectation& expected) {
  SCOPED_TRACE(cells.system->code);
  EXPECT_EQ(cells.codes, expected.codes);
  ASSERT_TRUE(cells.edge);
  EXPECT_EQ(cells.edge->side, expected.side);
  EXPECT_NEAR(cells.edge->metres, expected.metres, 0.01);
}

TEST(CellsAt, CodesOfEveryGridTypeAndTheNearestEdgeOfTheFinestCell) {
  for (const FrameCase& c : kFrameCases) {
    SCOPED_TRACE(testing::Message() << c.latitude << " " << c.longitude);
    const std::vector<SystemCells> cells = CellsAt({c.latitude, c.longitude});
    ASSERT_EQ(cells.size(), 2u);
    ExpectSystem(cells[0], c.minuteFields);
    ExpectSystem(cells[1], c.quadrants);
  }
}

TEST(CellsAt, OnACornerOutsideASystemAndOutsideTheSheets) {
  // 54.9 N 8.3 E is the north-west corner of 1115/214 and of 1115/221.
  for (const SystemCells& cells : CellsAt({54.9, 8.3})) {
    ASSERT_TRUE(cells.edge);
    EXPECT_NEAR(cells.edge->metres, 0, 1e-6) << cells.system->code;
  }
  // Sheet row 0 has minute fields but no progressive quadrants.
  const std::vector<SystemCells> rowZero = CellsAt({55.93, 7.04});
  EXPECT_EQ(rowZero[0].codes, (Codes{"0008", "0008/3", "0008/323"}));
  EXPECT_TRUE(rowZero[0].edge);
  EXPECT_TRUE(rowZero[1].codes.empty());
  EXPECT_FALSE(rowZero[1].edge);
  for (const SystemCells& cells : CellsAt({60.0, 7.04})) {
    EXPECT_TRUE(cells.codes.empty());
    EXPECT_FALSE(cells.edge);
  }
}

// GeoDLL32 itself does not describe its operations: the explanation says
// nothing of the operation and everything else as usual. The stand-in here
// leaves each point where it is.
TEST(ExplainPoint, ALibraryWithoutTheDescriptionLeavesTheOperationUnknown) {
  LoadGeodeticLibraryFrom(VELMORA_GEODLL32_WITHOUT_DESCRIPTION);
  ASSERT_TRUE(IsGeodeticLibraryBound());
  const PointExplanation plain = ExplainPoint({49.43, 7.04});
  LoadGeodeticLibraryFrom("libGeoDLL32.so");
  EXPECT_FALSE(plain.operation);
  ASSERT_TRUE(plain.frame && plain.shift);
  EXPECT_EQ(plain.frame->latitude, 49.43);
  EXPECT_EQ(plain.shift->ground.north, 0.0);
  EXPECT_EQ(plain.cells[0].codes.back(), "6508/323");

  const PointExplanation described = ExplainPoint({49.43, 7.04});
  ASSERT_TRUE(described.operation);
  EXPECT_NE(described.operation->find("BETA2007"), std::string::npos) << *described.operation;
}

}  // namespace
}  // namespace velmora
