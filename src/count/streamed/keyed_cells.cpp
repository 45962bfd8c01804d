#include "count/streamed/keyed_cells.h"

#include <algorithm>
#include <limits>

#include "platform/errors.h"

namespace velmora {

namespace {

void CheckRoom(size_t characters, size_t keys) {
  if (characters > std::numeric_limits<std::uint32_t>::max() ||
      keys > static_cast<size_t>(std::numeric_limits<int>::max())) {
    throw Exception("Too many keys to count");
  }
}

}  // namespace

int KeyedCells::Add(std::string_view key, std::int32_t cell) {
  CheckRoom(characters_.size() + key.size(), cells_.size() + 1);
  characters_.append(key);
  ends_.push_back(static_cast<std::uint32_t>(characters_.size()));
  cells_.push_back(cell);
  return Size() - 1;
}

// In whole blocks, each grown once: the occurrences hold millions of keys.
KeyedCells KeyedCells::Join(std::span<KeyedCells> ranges) {
  size_t characters = 0;
  size_t keys = 0;
  for (const KeyedCells& range : ranges) {
    characters += range.characters_.size();
    keys += range.cells_.size();
  }
  CheckRoom(characters, keys);
  KeyedCells joined;
  joined.characters_.reserve(characters);
  joined.ends_.reserve(keys);
  joined.cells_.reserve(keys);
  for (KeyedCells& range : ranges) {
    const auto offset = static_cast<std::uint32_t>(joined.characters_.size());
    joined.characters_ += range.characters_;
    for (const std::uint32_t end : range.ends_) joined.ends_.push_back(offset + end);
    joined.cells_.insert(joined.cells_.end(), range.cells_.begin(), range.cells_.end());
    range = KeyedCells{};
  }
  return joined;
}

void KeyedCells::Seal() {
  counted_ = LargeVector<std::atomic<std::uint64_t>>((cells_.size() + 63) / 64);
}

int KeyedCells::LowerBound(std::string_view key, int first, int last) const {
  while (first < last) {
    const int middle = first + (last - first) / 2;
    if (Key(middle) < key) {
      first = middle + 1;
    } else {
      last = middle;
    }
  }
  return first;
}

// Gallops from `near` in steps of 1, 2, 4, ... towards the key, then halves the
// last step: a key a few places on costs a few comparisons, any other the
// logarithm of its distance.
int KeyedCells::Find(std::string_view key, int& near) const {
  const int size = Size();
  if (size == 0) return -1;
  const int start = std::clamp(near, 0, size - 1);
  int first = 0;
  int last = size;
  if (Key(start) < key) {
    int step = 1;
    first = start + 1;
    while (first + step - 1 < size && Key(first + step - 1) < key) {
      first += step;
      step *= 2;
    }
    last = std::min(size, first + step);
  } else {
    int step = 1;
    last = start + 1;
    while (last - step - 1 >= 0 && !(Key(last - step - 1) < key)) {
      last -= step;
      step *= 2;
    }
    first = std::max(0, last - step);
  }
  const int found = LowerBound(key, first, last);
  near = found;
  return found < size && Key(found) == key ? found : -1;
}

bool KeyedCells::MarkCounted(int number) {
  const std::uint64_t bit = std::uint64_t{1} << (number % 64);
  return (counted_[number / 64].fetch_or(bit, std::memory_order_relaxed) & bit) == 0;
}

}  // namespace velmora
