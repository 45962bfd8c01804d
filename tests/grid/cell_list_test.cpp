#include "grid/cell_list.h"

#include <gtest/gtest.h>

#include <string>

#include "grid/grid_types.h"
#include "grid/sheet.h"

namespace velmora {
namespace {

MapState Build(const std::string& nw, const std::string& se, int gridType, int gridSystem = 0) {
  MapState state;
  BuildCellList({gridType, gridSystem, Extent::Read(nw, se), "map.bmp"}, state);
  return state;
}

TEST(BuildCellList, SingleSheetMesstischblatt) {
  const MapState s = Build("0901", "0901", 0);
  ASSERT_EQ(s.Grids.size(), 1u);
  ASSERT_EQ(s.Grids[0].size(), 1u);
  EXPECT_EQ(s.Grids[0][0].Code, "0901");
  EXPECT_EQ(s.Grids[0][0].Count, "0");
  EXPECT_EQ(s.NwSheet, "E0901");
  EXPECT_EQ(s.BackgroundImagePath, "map.bmp");
}

TEST(BuildCellList, QuadrantsOfTwoByTwoSheets) {
  const MapState s = Build("6508", "6609", 1);
  EXPECT_EQ(s.SheetRows, 2);
  EXPECT_EQ(s.SheetColumns, 2);
  EXPECT_EQ(s.CellRows, 4);
  EXPECT_EQ(s.CellColumns, 4);
  EXPECT_EQ(s.CellsPerSheet, 4);
  EXPECT_EQ(s.Grids[0][0].Code, "6508/1");
  EXPECT_EQ(s.Grids[0][1].Code, "6508/2");
  EXPECT_EQ(s.Grids[0][2].Code, "6509/1");
  EXPECT_EQ(s.Grids[1][0].Code, "6508/3");
  EXPECT_EQ(s.Grids[3][3].Code, "6609/4");
}

TEST(BuildCellList, MinuteFieldsOfOneSheet) {
  const MapState s = Build("6508", "6508", 4);
  EXPECT_EQ(s.CellRows, 6);
  EXPECT_EQ(s.CellColumns, 10);
  EXPECT_EQ(s.Grids[0][0].Code, "6508/111");
  EXPECT_EQ(s.Grids[0][4].Code, "6508/115");
  EXPECT_EQ(s.Grids[0][5].Code, "6508/211");
  EXPECT_EQ(s.Grids[2][0].Code, "6508/131");
  EXPECT_EQ(s.Grids[3][0].Code, "6508/311");
  EXPECT_EQ(s.Grids[5][9].Code, "6508/435");
}

TEST(BuildCellList, SixteenthQuadrantsOfOneSheet) {
  const MapState s = Build("6508", "6508", 3, 1);
  EXPECT_EQ(s.CellRows, 8);
  EXPECT_EQ(s.Grids[0][4].Code, "6508/211");
  EXPECT_EQ(s.Grids[1][0].Code, "6508/113");
  EXPECT_EQ(s.Grids[7][7].Code, "6508/444");
  EXPECT_EQ(s.Grids[7][0].Code, "6508/333");
  EXPECT_EQ(s.GridSystemCode, "QQQ");
}

TEST(BuildCellList, RunsFromWestSheetsIntoOrdinarySheets) {
  const MapState one = Build("W5099", "5000", 0);
  EXPECT_EQ(one.NwColumnIndex, 99);
  EXPECT_EQ(one.SeColumnIndex, 100);
  ASSERT_EQ(one.Grids.size(), 1u);
  ASSERT_EQ(one.Grids[0].size(), 2u);
  EXPECT_EQ(one.Grids[0][0].Code, "W5099");
  EXPECT_EQ(one.Grids[0][1].Code, "5000");

  const MapState two = Build("W5098", "5101", 0);
  ASSERT_EQ(two.CellRows, 2);
  ASSERT_EQ(two.CellColumns, 4);
  EXPECT_EQ(two.Grids[0][0].Code, "W5098");
  EXPECT_EQ(two.Grids[0][1].Code, "W5099");
  EXPECT_EQ(two.Grids[0][2].Code, "5000");
  EXPECT_EQ(two.Grids[0][3].Code, "5001");
  EXPECT_EQ(two.Grids[1][0].Code, "W5198");
}

TEST(BuildCellList, RebuildDiscardsCountsAndKeepsUnselectedFields) {
  MapState s;
  EXPECT_EQ(s.CellsPerSheet, 1);
  EXPECT_EQ(s.SheetRows, 2);
  EXPECT_EQ(s.CellColumns, 2);
  EXPECT_TRUE(s.Grids.empty());
  BuildCellList({1, 1, Extent::Read("6508", "6609"), ""}, s);
  s.Grids[2][3].Count = "17";
  BuildCellList({std::nullopt, std::nullopt, Extent::Read("6508", "6609"), ""}, s);
  EXPECT_EQ(s.Grids[2][3].Count, "0");
  EXPECT_EQ(s.CellsPerSheet, 4) << "no grid type selected keeps the previous value";
  EXPECT_EQ(s.GridSystemCode, "QQQ");
}

TEST(BuildCellList, ExtentWithoutSheetColumnsGivesAnEmptyList) {
  // 6601 is in a later row than 6508 but west of it: ordered, yet no columns.
  const MapState s = Build("6508", "6601", 0);
  EXPECT_EQ(s.SheetColumns, 0);
  EXPECT_EQ(s.SheetRows, 0);
  EXPECT_EQ(s.CellRows, 0);
  EXPECT_EQ(s.CellColumns, 0);
  EXPECT_TRUE(s.Grids.empty());
  EXPECT_TRUE(SheetsOf(s).empty());
}

TEST(BuildCellList, InvalidTextsGiveAnEmptyList) {
  for (const char* bad : {"", "65", "w6508", "65x8"}) {
    const MapState s = Build(bad, "6508", 4);
    EXPECT_EQ(s.CellRows, 0) << bad;
    EXPECT_TRUE(s.Grids.empty()) << bad;
    EXPECT_TRUE(Build("6508", bad, 4).Grids.empty()) << bad;
  }
  EXPECT_TRUE(Build("6508", "6408", 0).Grids.empty()) << "south-east before north-west";
}

TEST(CellCodeAt, AnswersPositionsOutsideTheMap) {
  const Sheet sheet6508(65, 108);
  EXPECT_EQ(CellCodeAt(1, 1, sheet6508, kGridTypes[0]), "6508");
  EXPECT_EQ(CellCodeAt(0, 1, sheet6508, kGridTypes[0]), "");
  EXPECT_EQ(CellCodeAt(1, -3, sheet6508, kGridTypes[1]), "");
  EXPECT_EQ(CellCodeAt(2147483647, 2147483647, Sheet(99, 199), kGridTypes[0]), "");
  EXPECT_EQ(CellCodeAt(1, 2, Sheet(99, 108), kGridTypes[0]), "") << "no sheet row 100";
  EXPECT_EQ(CellCodeAt(3, 1, Sheet(50, 199), kGridTypes[1]), "") << "no sheet column 100";
  EXPECT_EQ(CellCodeAt(2, 2, Sheet(50, 199), kGridTypes[1]), "5099/4");
  EXPECT_EQ(CellCodeAt(11, 1, Sheet(50, 99), kGridTypes[4]), "5000/111");
}

// Reads a cell code back into its map position, independently of the code
// that wrote it: the sheet gives the block, the digits the place inside it.
struct Position {
  int row;
  int column;
};

Position ParseBack(const std::string& code, const MapState& s) {
  const size_t slash = code.find('/');
  const std::optional<Sheet> sheet = Sheet::Read(code.substr(0, slash));
  EXPECT_TRUE(sheet) << code;
  if (!sheet) return {-1, -1};
  const SheetDivision d = GridTypeOfCellsPerSheet(s.CellsPerSheet).division;
  int rho = 0;
  int kappa = 0;
  const std::string digits = slash == std::string::npos ? "" : code.substr(slash + 1);
  if (s.CellsPerSheet == 60) {
    const int quadrant = digits[0] - '1';
    rho = (quadrant / 2) * 3 + (digits[1] - '1');
    kappa = (quadrant % 2) * 5 + (digits[2] - '1');
  } else {
    for (char c : digits) {
      rho = rho * 2 + (c - '1') / 2;
      kappa = kappa * 2 + (c - '1') % 2;
    }
  }
  return {(sheet->Row() - s.NwRow) * d.rows + rho,
          (sheet->ColumnIndex() - s.NwColumnIndex) * d.columns + kappa};
}

TEST(BuildCellList, EveryCodeParsesBackToItsOwnCell) {
  const std::pair<const char*, const char*> extents[] = {
      {"W5097", "5202"}, {"0901", "1104"}, {"6508", "6609"}, {"W0001", "W0103"}, {"8957", "9058"}};
  for (const GridTypeInfo& type : kGridTypes) {
    for (const auto& [nw, se] : extents) {
      const MapState s = Build(nw, se, type.item, type.item == 4 ? 0 : 1);
      ASSERT_EQ(s.CellRows, s.SheetRows * type.division.rows);
      ASSERT_EQ(s.CellColumns, s.SheetColumns * type.division.columns);
      for (int i = 0; i < s.CellRows; ++i) {
        for (int j = 0; j < s.CellColumns; ++j) {
          const std::string& code = s.Grids[i][j].Code;
          const bool west = code[0] == 'W';
          ASSERT_EQ(code.size(), static_cast<size_t>(type.codeLength + west)) << code;
          const Position p = ParseBack(code, s);
          ASSERT_EQ(p.row, i) << code << " in " << nw << "-" << se;
          ASSERT_EQ(p.column, j) << code << " in " << nw << "-" << se;
        }
      }
    }
  }
}

TEST(SheetsOf, ListsRowByRowFromTheNorth) {
  EXPECT_EQ(SheetsOf(Build("0901", "1002", 3)),
            (std::vector<std::string>{"0901", "0902", "1001", "1002"}));
  EXPECT_EQ(SheetsOf(Build("6508", "6508", 4)), std::vector<std::string>{"6508"});
  EXPECT_EQ(SheetsOf(Build("W5099", "5101", 1)).size(), 6u);
}

}  // namespace
}  // namespace velmora
