#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The counted occurrences in the order of their keys, each with the map cell
// of its sample, and a mark per occurrence once it has been counted as a
// record. The keys live in one block of characters, so that five million
// 16-character keys take about 100 MB with their cells.
class OccurrenceCells {
 public:
  // Keys must come in ascending byte order, as the table's key gives them.
  void Add(std::string_view key, std::int32_t cell);
  // Puts the occurrences of another range after these; all its keys must be
  // greater than these.
  void Append(const OccurrenceCells& later);
  // Sizes the marks; call once the occurrences are all added.
  void Seal();

  // The number of the occurrence with the key, or -1. The search begins at
  // `near`, where the last one ended, and widens from there: determinations
  // read in their own key order mostly follow their occurrences.
  int Find(std::string_view key, int& near) const;
  std::int32_t CellOf(int occurrence) const { return cells_[occurrence]; }
  // Marks the occurrence counted, from any thread; true the first time.
  bool MarkCounted(int occurrence);
  int Size() const { return static_cast<int>(cells_.size()); }

 private:
  std::string_view Key(int occurrence) const {
    const std::uint32_t begin = occurrence == 0 ? 0 : ends_[occurrence - 1];
    return std::string_view(characters_).substr(begin, ends_[occurrence] - begin);
  }
  // The first occurrence in [first, last) whose key is not less than `key`.
  int LowerBound(std::string_view key, int first, int last) const;

  std::string characters_;
  std::vector<std::uint32_t> ends_;  // where each key ends in characters_
  std::vector<std::int32_t> cells_;
  std::vector<std::atomic<std::uint64_t>> counted_;  // one bit per occurrence
};

}  // namespace velmora
