#include "count/streamed/key_progress.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// The host writes its keys in digits and capital letters. A byte counts by
// its place among those 36, not by its code, so that the codes between "9"
// and "A" take no room: half of the way through the places is then about half
// of the keys of a counter, where byte codes would put it at the "8"s. Bytes
// outside them keep their order: before the digits, with the "9", or after
// the "Z".
constexpr int kPlaces = 38;
// Places beyond these make no difference to a double.
constexpr size_t kPlacesRead = 10;

int PlaceOf(unsigned char byte) {
  if (byte < '0') return 0;
  if (byte <= '9') return 1 + (byte - '0');
  if (byte < 'A') return 10;
  if (byte <= 'Z') return 11 + (byte - 'A');
  return kPlaces - 1;
}

char ByteAt(int place) {
  if (place == 0) return ' ';
  if (place <= 10) return static_cast<char>('0' + place - 1);
  if (place <= 36) return static_cast<char>('A' + place - 11);
  return '~';
}

}  // namespace

KeyProgress::KeyProgress(std::string_view first, std::string_view last) {
  const auto [a, b] = std::ranges::mismatch(first, last);
  prefix_.assign(first.begin(), a);
  first_ = ValueOf(first);
  last_ = ValueOf(last);
}

// A key that does not start with the common beginning lies before or after
// the whole range.
double KeyProgress::ValueOf(std::string_view key) const {
  const std::string_view start = key.substr(0, prefix_.size());
  if (start != prefix_) return start < prefix_ ? 0.0 : 1.0;
  double fraction = 0;
  double scale = 1;
  for (size_t i = prefix_.size(); i < std::min(key.size(), prefix_.size() + kPlacesRead); ++i) {
    scale /= kPlaces;
    fraction += PlaceOf(static_cast<unsigned char>(key[i])) * scale;
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
  for (size_t i = 0; i < kPlacesRead; ++i) {
    value *= kPlaces;
    const double place = std::clamp(std::floor(value), 0.0, double{kPlaces - 1});
    value -= place;
    key += ByteAt(static_cast<int>(place));
  }
  return key;
}

double KeyProgress::FractionOf(std::string_view key) const {
  if (last_ <= first_) return 1;
  return std::clamp((ValueOf(key) - first_) / (last_ - first_), 0.0, 1.0);
}

int KeyProgress::Percent(std::string_view key) const {
  return static_cast<int>(FractionOf(key) * 100);
}

}  // namespace velmora
