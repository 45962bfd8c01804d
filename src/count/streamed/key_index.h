#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "count/large_blocks.h"

namespace velmora {

// Numbers texts (the keys of a host table) 0, 1, 2, ... in the order they are
// first added, and finds the number of a text again. The keys live in one
// block of characters; the table holds their numbers and hashes, so that a
// probe rarely touches a key and growing never reads one: a million
// 16-character keys take about 40 MB. Its big blocks are large blocks, since
// an index of tens of thousands of keys grows through several of them.
class KeyIndex {
 public:
  KeyIndex();

  // The number of the key, given it when it is new.
  int Add(std::string_view key);
  // The number of the key; -1 when it was never added.
  int Find(std::string_view key) const;
  std::string_view Key(int number) const;
  int Size() const { return static_cast<int>(ends_.size()); }

 private:
  struct Slot {
    std::uint32_t number;  // 0 for a free slot, else the key's number + 1
    std::uint32_t hash;
  };

  size_t SlotOf(std::string_view key, std::uint32_t hash) const;
  void Grow();

  LargeText characters_;
  LargeVector<std::uint32_t> ends_;  // where each key ends in characters_
  LargeVector<Slot> slots_;          // open addressing, at most half of them used
};

}  // namespace velmora
