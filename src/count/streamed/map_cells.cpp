#include "count/streamed/map_cells.h"

#include <optional>

#include "count/count_transfer.h"
#include "grid/sheet.h"

namespace velmora {
namespace {

// The 0-based row and column of a cell inside its sheet, read back from the
// digits after the "/" as the subdivision writes them; nothing for a digit it
// never writes.
struct InSheet {
  int rho = 0;
  int kappa = 0;
};

std::optional<InSheet> ReadDigits(std::string_view digits, CellDigits kind) {
  const auto within = [](char digit, char last) { return digit >= '1' && digit <= last; };
  InSheet at;
  switch (kind) {
    case CellDigits::None:
      if (!digits.empty()) return std::nullopt;
      break;
    case CellDigits::Quadrants:
      // 1 north-west, 2 north-east, 3 south-west, 4 south-east, level by level.
      for (const char digit : digits) {
        if (!within(digit, '4')) return std::nullopt;
        at.rho = 2 * at.rho + (digit - '1') / 2;
        at.kappa = 2 * at.kappa + (digit - '1') % 2;
      }
      break;
    case CellDigits::MinuteField: {
      // The quadrant, then the row (1-3) and the column (1-5) inside it.
      if (digits.size() != 3 || !within(digits[0], '4') || !within(digits[1], '3') ||
          !within(digits[2], '5')) {
        return std::nullopt;
      }
      const int quadrant = digits[0] - '1';
      at.rho = quadrant / 2 * 3 + (digits[1] - '1');
      at.kappa = quadrant % 2 * 5 + (digits[2] - '1');
      break;
    }
  }
  return at;
}

}  // namespace

MapCells::MapCells(const MapState& map)
    : map_(map), type_(GridTypeOfCellsPerSheet(map.CellsPerSheet)) {
  for (const std::string& sheet : SheetsOf(map)) sheets_.Add(sheet);
}

bool MapCells::HasSheetOf(std::string_view code) const {
  return sheets_.Find(code.substr(0, code.find('/'))) >= 0;
}

// The position is worked out from the code and then confirmed by the code
// that the cell list holds there, so that it can only name that cell.
std::int32_t MapCells::PositionOf(std::string_view code) const {
  const size_t length = static_cast<size_t>(type_.codeLength) + (code.starts_with('W') ? 1 : 0);
  if (code.size() < length) return -1;
  const std::string_view cut = code.substr(0, length);
  const size_t slash = cut.find('/');
  const std::optional<Sheet> sheet = Sheet::Read(cut.substr(0, slash));
  const std::optional<InSheet> at = ReadDigits(
      slash == std::string_view::npos ? std::string_view() : cut.substr(slash + 1), type_.digits);
  if (!sheet || !at) return -1;
  const int row = (sheet->Row() - map_.NwRow) * type_.division.rows + at->rho;
  const int column =
      (sheet->ColumnIndex() - map_.NwColumnIndex) * type_.division.columns + at->kappa;
  if (row < 0 || row >= map_.CellRows || column < 0 || column >= map_.CellColumns ||
      map_.Grids[row][column].Code != cut) {
    return -1;
  }
  return static_cast<std::int32_t>(CellPosition(map_, row, column));
}

}  // namespace velmora
