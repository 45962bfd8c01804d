#pragma once

#include <array>
#include <string_view>

namespace velmora {

// How one sheet is divided into cells.
struct SheetDivision {
  int rows;
  int columns;
};

// The grid types of the "Rastertyp" group, by item.
struct GridTypeInfo {
  int item;
  std::string_view name;  // as the dialog shows it
  int cellsPerSheet;
  SheetDivision division;
  int codeLength;  // one more for a west sheet
};

inline constexpr std::array<GridTypeInfo, 5> kGridTypes = {{
    {0, "Messtischblatt", 1, {1, 1}, 4},
    {1, "Quadranten", 4, {2, 2}, 6},
    {2, "4tel-Quadranten", 16, {4, 4}, 7},
    {3, "16tel-Quadranten", 64, {8, 8}, 8},
    {4, "Minutenfelder", 60, {6, 10}, 8},
}};

// The grid systems of the "Rastersystem" group, by item. The code is also the
// spatial reference system under which the host stores such grid references.
struct GridSystemInfo {
  int item;
  std::string_view name;
  std::string_view code;
  std::array<bool, kGridTypes.size()> offersGridType;
};

inline constexpr std::array<GridSystemInfo, 2> kGridSystems = {{
    {0, "Minutenfelder", "QYX", {true, true, false, false, true}},
    {1, "Fortschreitende Quadrantenteilung", "QQQ", {true, true, true, true, false}},
}};

inline constexpr std::string_view kMinuteFieldSystemCode = "QYX";
inline constexpr std::string_view kQuadrantSystemCode = "QQQ";

// Nothing for an item or name that is not in the table.
const GridTypeInfo* GridTypeByItem(int item);
const GridTypeInfo* GridTypeByName(std::string_view name);
const GridTypeInfo* GridTypeByCellsPerSheet(int cellsPerSheet);
const GridSystemInfo* GridSystemByItem(int item);
const GridSystemInfo* GridSystemByCode(std::string_view code);

// 6 x 10 for minute fields (60), otherwise n x n with n the integer part of the
// square root; 0 x 0 for values below 1.
SheetDivision DivisionOf(int cellsPerSheet);

// The length of a cell code of the grid type with these cells per sheet, for a
// sheet that is not a west sheet; 4 (the whole sheet) for any other value.
int CodeLengthOf(int cellsPerSheet);

}  // namespace velmora
