#include "grid/sheet.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "grid/extent.h"
#include "grid/grid_types.h"
#include "grid/subdivision.h"

namespace velmora {
namespace {

TEST(IsValidSheetNumber, AcceptsFourDigitsOrUpperCaseWAndFourDigits) {
  for (const char* text : {"0901", "8758", "0000", "W5099", "W0000"}) {
    EXPECT_TRUE(IsValidSheetNumber(text)) << text;
  }
  for (const char* text : {"W509", "w5099", "65081", "650", "", "65 8", "W", "W50999", "E6508",
                           "6a08", "+650", "W-509"}) {
    EXPECT_FALSE(IsValidSheetNumber(text)) << '"' << text << '"';
  }
}

struct Reading {
  const char* number;
  int row;
  int columnIndex;
  int key;
};

TEST(SheetRead, GivesRowColumnIndexAndKey) {
  const Reading readings[] = {
      {"0901", 9, 101, 9101},   {"W5099", 50, 99, 50099}, {"5000", 50, 100, 50100},
      {"6508", 65, 108, 65108}, {"W0701", 7, 1, 7001},    {"W5000", 50, 0, 50000},
  };
  for (const Reading& r : readings) {
    const std::optional<Sheet> sheet = Sheet::Read(r.number);
    ASSERT_TRUE(sheet) << r.number;
    EXPECT_EQ(sheet->Row(), r.row) << r.number;
    EXPECT_EQ(sheet->ColumnIndex(), r.columnIndex) << r.number;
    EXPECT_EQ(sheet->Key(), r.key) << r.number;
    EXPECT_EQ(sheet->Number(), r.number);
  }
  EXPECT_LT(*Sheet::Read("W5099"), *Sheet::Read("5000")) << "W5099 lies directly west of 5000";
  EXPECT_FALSE(Sheet::Read("w5099"));
  EXPECT_FALSE(Sheet::Read("E6508")) << "the normalised form is not a sheet number";
}

TEST(NormaliseSheetNumber, PutsEInFrontOfFourCharacters) {
  EXPECT_EQ(NormaliseSheetNumber("0901"), "E0901");
  EXPECT_EQ(NormaliseSheetNumber("W5099"), "W5099");
  EXPECT_EQ(NormaliseSheetNumber(""), "");
}

TEST(FormatSheetNumber, PadsBothFieldsAndMarksWestSheets) {
  EXPECT_EQ(FormatSheetNumber(65, 108), "6508");
  EXPECT_EQ(FormatSheetNumber(9, 101), "0901");
  EXPECT_EQ(FormatSheetNumber(50, 99), "W5099");
  EXPECT_EQ(FormatSheetNumber(50, 100), "5000");
  EXPECT_EQ(FormatSheetNumber(7, 1), "W0701");
  EXPECT_EQ(FormatSheetNumber(0, 100), "0000");
  EXPECT_EQ(FormatSheetNumber(100, 112), "10012") << "%.2d prints at least two digits";
}

TEST(Subdivision, QuadrantDigitsFollowTheProgressiveNumbering) {
  auto digits = [](int rho, int kappa, int levels) {
    std::string s;
    AppendQuadrantDigits(s, rho, kappa, levels);
    return s;
  };
  EXPECT_EQ(digits(7, 7, 3), "444");
  EXPECT_EQ(digits(0, 4, 3), "211");
  EXPECT_EQ(digits(1, 0, 3), "113");
  EXPECT_EQ(digits(0, 0, 1), "1");
  EXPECT_EQ(digits(1, 0, 1), "3");
  const char* rows16[4][4] = {{"11", "12", "21", "22"},
                              {"13", "14", "23", "24"},
                              {"31", "32", "41", "42"},
                              {"33", "34", "43", "44"}};
  for (int rho = 0; rho < 4; ++rho) {
    for (int kappa = 0; kappa < 4; ++kappa) EXPECT_EQ(digits(rho, kappa, 2), rows16[rho][kappa]);
  }
}

TEST(Subdivision, MinuteFieldDigitsAreQuadrantRowAndColumn) {
  auto digits = [](int rho, int kappa) {
    std::string s;
    AppendMinuteFieldDigits(s, rho, kappa);
    return s;
  };
  EXPECT_EQ(digits(5, 9), "435");
  EXPECT_EQ(digits(0, 0), "111");
  EXPECT_EQ(digits(2, 4), "135");
  EXPECT_EQ(digits(0, 5), "211");
  EXPECT_EQ(digits(3, 0), "311");
}

TEST(GridTables, TypesAndSystemsAgree) {
  for (const GridTypeInfo& type : kGridTypes) {
    EXPECT_EQ(GridTypeByItem(type.item), &type);
    EXPECT_EQ(GridTypeByName(type.name), &type);
    EXPECT_EQ(type.division.rows * type.division.columns, type.cellsPerSheet);
    EXPECT_EQ(&GridTypeOfCellsPerSheet(type.cellsPerSheet), &type);
  }
  EXPECT_EQ(GridTypeOfCellsPerSheet(9).codeLength, 4) << "any other value counts whole sheets";
  EXPECT_EQ(GridTypeByItem(5), nullptr);
  EXPECT_EQ(GridTypeByName("quadranten"), nullptr);
  EXPECT_EQ(GridSystemByCode("QYX")->item, 0);
  EXPECT_EQ(GridSystemByCode("QQQ")->item, 1);
  EXPECT_FALSE(kGridSystems[0].offersGridType[3]) << "minute fields offer no 16tel-Quadranten";
  EXPECT_FALSE(kGridSystems[1].offersGridType[4]) << "quadrants offer no Minutenfelder";
}

// Every public function must give a defined answer on any text, never read
// past its end: run them over random short texts of the characters that matter.
TEST(SheetFunctions, AnswerEveryTextWithoutFault) {
  std::mt19937 random(7);
  const std::string alphabet = "0123456789WwE /-";
  for (int n = 0; n < 20000; ++n) {
    std::string a(random() % 7, ' ');
    std::string b(random() % 7, ' ');
    for (char& c : a) c = alphabet[random() % alphabet.size()];
    for (char& c : b) c = alphabet[random() % alphabet.size()];
    const bool valid = IsValidSheetNumber(a) && IsValidSheetNumber(b);
    const bool eastward = valid && Sheet::Read(b)->ColumnIndex() >= Sheet::Read(a)->ColumnIndex();
    EXPECT_EQ(IsExtentValid(a, b), valid && IsExtentOrdered(a, b) && eastward);
    if (!IsValidSheetNumber(a)) {
      EXPECT_FALSE(Sheet::Read(a));
    }
  }
}

}  // namespace
}  // namespace velmora
