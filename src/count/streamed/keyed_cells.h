#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "count/large_blocks.h"

namespace velmora {

// The keys of a host table in ascending byte order, each with a map cell (or
// -1), numbered in that order, and a mark per key once it has been counted:
// the samples with the cells they count in, the occurrences with their
// samples' cells. The keys live in one block of characters, so that five
// million 16-character keys take about 100 MB with their cells.
class KeyedCells {
 public:
  // Keys must come in ascending byte order, as the table's key gives them.
  // Returns the key's number.
  int Add(std::string_view key, std::int32_t cell);
  // The keys of ranges one after the other, each range's keys greater than
  // those before it. Empties each range once it is taken over, so that
  // millions of keys are not held twice.
  static KeyedCells Join(std::span<KeyedCells> ranges);
  // Sizes the marks; call once the occurrences are all added.
  void Seal();

  // The number of the key, or -1. The search begins at `near`, where the
  // last one ended, and widens from there: records read in the order of one
  // key mostly follow the order of the other.
  int Find(std::string_view key, int& near) const;
  std::int32_t CellOf(int number) const { return cells_[number]; }
  void SetCell(int number, std::int32_t cell) { cells_[number] = cell; }
  // Marks the key counted, from any thread; true the first time.
  bool MarkCounted(int number);
  int Size() const { return static_cast<int>(cells_.size()); }
  std::string_view Key(int number) const {
    const std::uint32_t begin = number == 0 ? 0 : ends_[number - 1];
    return std::string_view(characters_).substr(begin, ends_[number] - begin);
  }

 private:
  // The first key in [first, last) whose key is not less than `key`.
  int LowerBound(std::string_view key, int first, int last) const;

  LargeText characters_;
  LargeVector<std::uint32_t> ends_;  // where each key ends in characters_
  LargeVector<std::int32_t> cells_;
  LargeVector<std::atomic<std::uint64_t>> counted_;  // one bit per key
};

}  // namespace velmora
