#include "count/key_progress.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// Bytes beyond these make no difference to a double.
constexpr size_t kBytes = 7;

}  // namespace

KeyProgress::KeyProgress(std::string_view first, std::string_view last) {
  const auto [a, b] = std::ranges::mismatch(first, last);
  prefix_.assign(first.begin(), a);
  first_ = Fraction(first);
  last_ = Fraction(last);
}

// A key that does not start with the common beginning lies before or after
// the whole range.
double KeyProgress::Fraction(std::string_view key) const {
  const std::string_view start = key.substr(0, prefix_.size());
  if (start != prefix_) return start < prefix_ ? 0.0 : 1.0;
  double fraction = 0;
  double scale = 1;
  for (size_t i = prefix_.size(); i < std::min(key.size(), prefix_.size() + kBytes); ++i) {
    scale /= 256;
    fraction += static_cast<unsigned char>(key[i]) * scale;
  }
  return fraction;
}

// One subquery each, so that both are read from the key's index: a min and a
// max in one query would scan the table.
KeyProgress KeyProgressOf(DatabaseSession& session, std::string_view table,
                          std::string_view column) {
  const std::string from = std::string(column) + ") FROM " + std::string(table);
  const auto range =
      session.OpenQuery("SELECT (SELECT min(" + from + "), (SELECT max(" + from + ")");
  return KeyProgress(VariantToText(range->FieldValue(0)), VariantToText(range->FieldValue(1)));
}

std::string KeyProgress::KeyAt(double fraction) const {
  double value = first_ + (last_ - first_) * fraction;
  std::string key = prefix_;
  for (size_t i = 0; i < kBytes; ++i) {
    value *= 256;
    const double byte = std::floor(value);
    value -= byte;
    key += static_cast<char>(std::clamp(byte, double{' '}, double{'~'}));
  }
  return key;
}

int KeyProgress::Percent(std::string_view key) const {
  if (last_ <= first_) return 100;
  const double part = (Fraction(key) - first_) / (last_ - first_);
  return static_cast<int>(std::clamp(part, 0.0, 1.0) * 100);
}

}  // namespace velmora
