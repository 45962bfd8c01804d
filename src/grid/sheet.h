#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// One MTB sheet of the grid. The column index is continuous across the west
// edge: 100 + column for an ordinary sheet, the two column digits for a west
// sheet (W5099 has index 99 and lies directly west of 5000 with index 100).
class Sheet {
 public:
  constexpr Sheet(int row, int columnIndex) : row_(row), columnIndex_(columnIndex) {}

  // Reads a sheet number; nothing for a text that IsValidSheetNumber rejects.
  static std::optional<Sheet> Read(std::string_view number);

  constexpr int Row() const { return row_; }
  constexpr int ColumnIndex() const { return columnIndex_; }
  // Row first, then column: the order in which sheets are compared.
  constexpr int Key() const { return row_ * 1000 + columnIndex_; }
  std::string Number() const;

  constexpr auto operator<=>(const Sheet& other) const { return Key() <=> other.Key(); }
  constexpr bool operator==(const Sheet& other) const { return Key() == other.Key(); }

 private:
  int row_;
  int columnIndex_;
};

// "W%.2d%.2d" with row and column index below 100, else "%.2d%.2d" with row and
// column index - 100: 6508, 0901, W5099, 5000.
std::string FormatSheetNumber(int row, int columnIndex);

// Exactly four decimal digits, or an upper-case "W" and four decimal digits.
bool IsValidSheetNumber(std::string_view text);

// Four characters get "E" in front (E6508); any other text stays as it is.
std::string NormaliseSheetNumber(std::string_view text);

}  // namespace velmora
