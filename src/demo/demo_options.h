#pragma once

#include <cstdint>

#include "demo/demo_extent.h"

namespace velmora::demo {

// What the generator makes. The default extent, 6508 to 6711 (4 sheet columns by
// 3 sheet rows around Saarland and the Palatinate), is the README's demo.
struct DemoOptions {
  std::uint64_t seed = 1;
  int samples = 4000;
  int occurrencesPerSample = 5;
  int taxa = 400;
  int taxonGroups = 8;
  int surveys = 6;
  Extent extent = *Extent::Read("6508", "6711");
};

}  // namespace velmora::demo
