#include "grid/extent.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct ProblemCase {
  const char* northWest;
  const char* southEast;
  ExtentProblem problem;
};

TEST(CheckExtent, NamesTheFirstProblemInOrder) {
  const ProblemCase cases[] = {
      {"65", "x", ExtentProblem::NorthWestNotASheet},
      {"w5099", "6508", ExtentProblem::NorthWestNotASheet},
      {"6508", "", ExtentProblem::SouthEastNotASheet},
      {"6508", "WW901", ExtentProblem::SouthEastNotASheet},
      {"6508", "6408", ExtentProblem::SouthEastBeforeNorthWest},
      {"6508", "6507", ExtentProblem::SouthEastBeforeNorthWest},
      {"W5099", "W5098", ExtentProblem::SouthEastBeforeNorthWest},
      {"6500", "W6499", ExtentProblem::SouthEastBeforeNorthWest},
      {"6508", "6607", ExtentProblem::SouthEastWestOfNorthWest},
      {"6500", "W6699", ExtentProblem::SouthEastWestOfNorthWest},
  };
  for (const ProblemCase& c : cases) {
    const auto checked = CheckExtent(c.northWest, c.southEast);
    ASSERT_TRUE(std::holds_alternative<ExtentProblem>(checked))
        << c.northWest << " " << c.southEast;
    EXPECT_EQ(std::get<ExtentProblem>(checked), c.problem) << c.northWest << " " << c.southEast;
  }
}

TEST(CheckExtent, GivesTheRectangleOfSheets) {
  const auto one = Extent::Read("6508", "6508");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->NorthWest(), Sheet(65, 108));
  EXPECT_EQ(one->SheetRows(), 1);
  EXPECT_EQ(one->SheetColumns(), 1);

  const auto acrossTheWestEdge = Extent::Read("W5098", "5101");
  ASSERT_TRUE(acrossTheWestEdge);
  EXPECT_EQ(acrossTheWestEdge->SouthEast(), Sheet(51, 101));
  EXPECT_EQ(acrossTheWestEdge->SheetRows(), 2);
  EXPECT_EQ(acrossTheWestEdge->SheetColumns(), 4);

  const auto largest = Extent::Read("0901", "8758");
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->SheetRows(), 79);
  EXPECT_EQ(largest->SheetColumns(), 58);

  EXPECT_FALSE(Extent::Read("6508", "6601"));
  EXPECT_EQ(std::get<Extent>(CheckExtent(Sheet(65, 108), Sheet(67, 111))),
            Extent::Read("6508", "6711"))
      << "sheets and sheet numbers give the same extent";
  EXPECT_EQ(std::get<ExtentProblem>(CheckExtent(Sheet(67, 111), Sheet(65, 108))),
            ExtentProblem::SouthEastBeforeNorthWest);
}

TEST(IsExtentOrdered, OrdersByRowFirstThenColumn) {
  EXPECT_TRUE(IsExtentOrdered("6508", "6508"));
  EXPECT_FALSE(IsExtentOrdered("6508", "6408"));
  EXPECT_FALSE(IsExtentOrdered("6508", "6507"));
  EXPECT_TRUE(IsExtentOrdered("6508", "6601")) << "a later row passes even west of the column";
  EXPECT_TRUE(IsExtentOrdered("W6599", "6500"));
  EXPECT_FALSE(IsExtentOrdered("6500", "W6599"));
}

TEST(IsExtentValid, NeedsTwoValidNumbersInOrder) {
  EXPECT_TRUE(IsExtentValid("0901", "8758"));
  EXPECT_FALSE(IsExtentValid("", "8758"));
  EXPECT_FALSE(IsExtentValid("0901", "12"));
  EXPECT_FALSE(IsExtentValid("6508", "6408"));
  EXPECT_FALSE(IsExtentOrdered("65x8", "6508")) << "an invalid text is never ordered";
}

TEST(IsExtentValid, RefusesASouthEastSheetWestOfTheNorthWestSheet) {
  EXPECT_FALSE(IsExtentValid("6508", "6601"));
  EXPECT_FALSE(IsExtentValid("6500", "W6699"));
  EXPECT_TRUE(IsExtentValid("W6599", "6600"));
}

}  // namespace
}  // namespace velmora
