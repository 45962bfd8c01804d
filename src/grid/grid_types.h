#pragma once

#include <array>
#include <string_view>

namespace velmora {

// How one sheet is divided into cells.
struct SheetDivision {
  int rows;
  int columns;
};

// How the digits after the "/" of a cell code are made.
enum class CellDigits {
  None,         // the whole sheet: the sheet number alone
  Quadrants,    // one progressive quadrant digit per halving of the sheet
  MinuteField,  // quadrant, row and column of the 6 x 10 minute fields
};

// The grid types of the "Rastertyp" group, by item.
struct GridTypeInfo {
  int item;
  std::string_view name;  // as the dialog shows it
  int cellsPerSheet;
  SheetDivision division;
  int codeLength;  // one more for a west sheet
  CellDigits digits;
};

inline constexpr std::array<GridTypeInfo, 5> kGridTypes = {{
    {0, "Messtischblatt", 1, {1, 1}, 4, CellDigits::None},
    {1, "Quadranten", 4, {2, 2}, 6, CellDigits::Quadrants},
    {2, "4tel-Quadranten", 16, {4, 4}, 7, CellDigits::Quadrants},
    {3, "16tel-Quadranten", 64, {8, 8}, 8, CellDigits::Quadrants},
    {4, "Minutenfelder", 60, {6, 10}, 8, CellDigits::MinuteField},
}};

// The whole sheet, the grid type whose cells are the sheets.
inline constexpr const GridTypeInfo& kMesstischblatt = kGridTypes[0];

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
const GridSystemInfo* GridSystemByItem(int item);
const GridSystemInfo* GridSystemByCode(std::string_view code);

// The grid type item that a choice of grid system and grid type comes to: a
// grid type the grid system does not offer falls back to the whole sheet, as
// the dialog moves its selection. Without a grid system or a grid type (an
// item out of range) the item stays.
int OfferedGridTypeItem(int gridSystemItem, int gridTypeItem);

// The grid type of a map with these cells per sheet. A value that no grid type
// has counts whole sheets, as the count has always cut such codes to the sheet.
const GridTypeInfo& GridTypeOfCellsPerSheet(int cellsPerSheet);

}  // namespace velmora
