#include "platform/db/query_result.h"

#include <algorithm>
#include <cctype>

#include "platform/errors.h"

namespace velmora {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct Criteria {
  std::string column;
  std::string value;
};

// column='value', with optional blanks around the parts and '' for a quote.
Criteria ParseCriteria(std::string_view criteria) {
  const auto fail = [&]() -> Criteria {
    throw DatabaseError("Find criteria must have the form column='value': " +
                        std::string(criteria));
  };
  const auto equals = criteria.find('=');
  if (equals == std::string_view::npos) return fail();
  Criteria parsed{std::string(Trimmed(criteria.substr(0, equals))), {}};
  const std::string_view quoted = Trimmed(criteria.substr(equals + 1));
  if (parsed.column.empty() || quoted.size() < 2 || quoted.front() != '\'' ||
      quoted.back() != '\'') {
    return fail();
  }
  const std::string_view inner = quoted.substr(1, quoted.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\'') {
      if (i + 1 == inner.size() || inner[i + 1] != '\'') return fail();
      ++i;
    }
    parsed.value += inner[i];
  }
  return parsed;
}

}  // namespace

QueryResult::QueryResult(std::vector<std::string> columns, std::vector<Variant> cells)
    : columns_(std::move(columns)),
      cells_(std::move(cells)),
      rowCount_(columns_.empty() ? 0 : static_cast<int>(cells_.size() / columns_.size())) {}

void QueryResult::Next() {
  if (AtEnd()) throw DatabaseError("The result is already past its last row");
  ++current_;
}

const std::string& QueryResult::ColumnName(int index) const {
  if (index < 0 || index >= ColumnCount()) {
    throw DatabaseError("The result has no column " + std::to_string(index));
  }
  return columns_[index];
}

int QueryResult::ColumnIndex(std::string_view column) const {
  const auto found = std::ranges::find_if(
      columns_, [&](const std::string& name) { return EqualIgnoringCase(name, column); });
  if (found == columns_.end()) {
    throw DatabaseError("The result has no column named '" + std::string(column) + "'");
  }
  return static_cast<int>(found - columns_.begin());
}

const Variant& QueryResult::Cell(int row, int column) const {
  return cells_[static_cast<std::size_t>(row) * columns_.size() + column];
}

Variant QueryResult::FieldValue(std::string_view column) const {
  return FieldValue(ColumnIndex(column));
}

Variant QueryResult::FieldValue(int index) const {
  ColumnName(index);  // checks the index
  if (AtEnd()) throw DatabaseError("The result has no current row: it is at its end");
  return Cell(current_, index);
}

void QueryResult::Find(std::string_view criteria) {
  const Criteria parsed = ParseCriteria(criteria);
  const int column = ColumnIndex(parsed.column);
  while (!AtEnd()) {
    const Variant& value = Cell(current_, column);
    if (const auto* text = std::get_if<std::string>(&value)) {
      if (*text == parsed.value) return;
    } else if (!std::holds_alternative<std::monostate>(value) &&
               VariantToText(value) == parsed.value) {
      return;
    }
    ++current_;
  }
}

}  // namespace velmora
