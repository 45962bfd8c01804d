#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

// Memory for the count's big arrays: the keys of millions of samples and
// occurrences, the samples waiting for their codes, the (cell, taxon) pairs.
// Blocks of a quarter megabyte and more are mapped in whole huge pages where the system
// offers them, so that filling them costs one page fault per two megabytes
// instead of one per four kilobytes; smaller ones come from the ordinary heap.
void* AllocateLargeBlock(std::size_t bytes);
// Gives back a block of AllocateLargeBlock, with the size it was asked for.
void FreeLargeBlock(void* block, std::size_t bytes);

template <typename T>
struct LargeBlockAllocator {
  using value_type = T;
  LargeBlockAllocator() = default;
  template <typename U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateLargeBlock(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) { FreeLargeBlock(block, n * sizeof(T)); }
  friend bool operator==(LargeBlockAllocator, LargeBlockAllocator) { return true; }
};

template <typename T>
using LargeVector = std::vector<T, LargeBlockAllocator<T>>;
using LargeText = std::basic_string<char, std::char_traits<char>, LargeBlockAllocator<char>>;

}  // namespace velmora
