#include "cli/cell_counts.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/command_errors.h"
#include "grid/sheet.h"
#include "platform/errors.h"
#include "platform/read_file.h"

namespace velmora::cli {
namespace {

// Whether the code names a cell of the grid type anywhere on the grid: one of
// the cells of its sheet.
bool FitsGridType(std::string_view code, const GridTypeInfo& type) {
  const std::optional<Sheet> sheet = Sheet::Read(code.substr(0, code.starts_with('W') ? 5 : 4));
  if (!sheet) return false;
  for (int row = 1; row <= type.division.rows; ++row) {
    for (int column = 1; column <= type.division.columns; ++column) {
      if (CellCodeAt(column, row, *sheet, type) == code) return true;
    }
  }
  return false;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A count is an int: ten digits at most. A longer number is no count, and
// drawing it would take minutes and gigabytes.
constexpr std::size_t kCountDigits = 10;

bool IsWholeNumber(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// A text as a message quotes it: not the megabytes a broken file may hold.
std::string Shortened(std::string_view text) {
  constexpr std::size_t kQuoted = 60;
  return text.size() <= kQuoted ? std::string(text) : std::string(text.substr(0, kQuoted)) + "...";
}

// Names the first few codes; a file of another grid type has them by the thousand.
std::string CodeList(const std::vector<std::string>& codes) {
  constexpr size_t kNamed = 5;
  std::string list;
  for (size_t i = 0; i < std::min(codes.size(), kNamed); ++i) {
    list += (i == 0 ? "" : ", ") + codes[i];
  }
  if (codes.size() > kNamed) list += " and " + std::to_string(codes.size() - kNamed) + " more";
  return list;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1) {
    fields.push_back(line.substr(start, comma - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// Where a line's code and count are: the two sides of its first tab (or
// comma), or the columns a CSV header names.
struct Columns {
  char separator = '\t';
  size_t code = 0;
  size_t count = 1;
};

Columns ColumnsOf(const std::string& header, std::string_view column, const std::string& path) {
  const std::vector<std::string_view> names = Fields(header);
  Columns columns{',', 0, 0};
  columns.code = std::ranges::find(names, "code") - names.begin();
  columns.count = std::ranges::find(names, "count") - names.begin();
  if (columns.count == names.size())
    columns.count = std::ranges::find(names, column) - names.begin();
  if (columns.code == names.size() || columns.count == names.size()) {
    throw Exception("the counts file '" + path + "' has no columns code and " +
                    std::string(column) + " in its header '" + Shortened(header) + "'");
  }
  return columns;
}

}  // namespace

void ReadCellCounts(const std::string& path, const GridTypeInfo& gridType, std::string_view column,
                    MapState& map) {
  std::string text;
  try {
    text = ReadRegularFile(path);
  } catch (const FileReadError& e) {
    throw Exception("cannot read the counts file '" + path + "': " + e.Reason());
  }
  std::string_view rest = text;
  // Editors on Windows begin a UTF-8 file with a byte order mark.
  if (rest.starts_with(kUtf8Bom)) rest.remove_prefix(kUtf8Bom.size());
  std::unordered_map<std::string_view, TGrid*> cells;
  for (auto& row : map.Grids) {
    for (TGrid& cell : row) cells.emplace(cell.Code, &cell);
  }
  std::vector<std::string> misfits;
  Columns columns;
  for (int number = 1; !rest.empty(); ++number) {
    std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(line.size() + 1, rest.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (number == 1 && line.starts_with("code,")) {
      columns = ColumnsOf(std::string(line), column, path);
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string_view> fields;
    if (columns.separator == ',') {
      fields = Fields(line);
    } else if (const size_t at = line.find_first_of("\t,"); at != std::string_view::npos) {
      fields = {line.substr(0, at), line.substr(at + 1)};
    }
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (fields.size() <= std::max(columns.code, columns.count) ||
        !IsWholeNumber(fields[columns.count])) {
      throw Exception(where + "expected " +
                      (columns.separator == '\t' ? "CODE<TAB>COUNT" : "the header's columns") +
                      ", not '" + Shortened(line) + "'");
    }
    if (fields[columns.count].size() > kCountDigits) {
      throw Exception(where + "the count '" + Shortened(fields[columns.count]) +
                      "' has more digits than any count can have (" + std::to_string(kCountDigits) +
                      ")");
    }
    const std::string_view code = fields[columns.code];
    if (const auto cell = cells.find(code); cell != cells.end()) {
      cell->second->Count = std::string(fields[columns.count]);
    } else if (!FitsGridType(code, gridType)) {
      misfits.push_back(Shortened(code));
    }
  }
  if (!misfits.empty()) {
    throw UsageError("the counts file '" + path + "' has codes that are no cells of " +
                     std::string(gridType.name) + ": " + CodeList(misfits) +
                     " (give --type the grid type the counts were made for)");
  }
}

}  // namespace velmora::cli
