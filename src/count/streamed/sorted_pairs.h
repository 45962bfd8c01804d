#pragma once

#include <cstdint>

#include "count/large_blocks.h"

namespace velmora {

// Calls `take` with each distinct value of two sorted vectors, in rising
// order: the pairs the two workers of a pass found, each pair once.
template <typename Take>
void ForEachDistinct(const LargeVector<std::uint64_t>& a, const LargeVector<std::uint64_t>& b,
                     Take take) {
  bool any = false;
  std::uint64_t last = 0;
  for (size_t i = 0, j = 0; i < a.size() || j < b.size();) {
    const std::uint64_t value = j == b.size() || (i < a.size() && a[i] < b[j]) ? a[i++] : b[j++];
    if (!any || value != last) take(value);
    any = true;
    last = value;
  }
}

}  // namespace velmora
