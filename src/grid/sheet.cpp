#include "grid/sheet.h"

#include <algorithm>

#include "grid/subdivision.h"

namespace velmora {
namespace {

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int TwoDigits(std::string_view text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

}  // namespace

std::optional<Sheet> Sheet::Read(std::string_view number) {
  if (!IsValidSheetNumber(number)) return std::nullopt;
  const bool west = number.size() == 5;
  const std::string_view digits = west ? number.substr(1) : number;
  const int columnDigits = TwoDigits(digits.substr(2));
  return Sheet(TwoDigits(digits), west ? columnDigits : 100 + columnDigits);
}

std::string Sheet::Number() const { return FormatSheetNumber(row_, columnIndex_); }

std::string FormatSheetNumber(int row, int columnIndex) {
  std::string text;
  if (columnIndex < 100) {
    text += 'W';
    AppendZeroPadded(text, row, 2);
    AppendZeroPadded(text, columnIndex, 2);
  } else {
    AppendZeroPadded(text, row, 2);
    AppendZeroPadded(text, columnIndex - 100, 2);
  }
  return text;
}

bool IsValidSheetNumber(std::string_view text) {
  if (text.size() == 5 && text[0] == 'W') return AllDigits(text.substr(1));
  return text.size() == 4 && AllDigits(text);
}

std::string NormaliseSheetNumber(std::string_view text) {
  std::string normalised;
  if (text.size() == 4) normalised += 'E';
  normalised += text;
  return normalised;
}

}  // namespace velmora
