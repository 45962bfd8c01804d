#pragma once

#include <cmath>
#include <cstdint>

namespace velmora::demo {

// SplitMix64 (Steele, Lea, Flood 2014): a tiny generator whose sequence is the
// same on every platform, unlike the distributions of <random>, so that a seed
// always gives the same database.
class DemoRandom {
 public:
  explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // In [0, 1), from the top 53 bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Between(double low, double high) { return low + (high - low) * Uniform(); }
  // In [0, count); 0 for an empty range.
  int Below(int count) {
    return count <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(count));
  }
  bool Chance(double probability) { return Uniform() < probability; }
  // A standard normal deviate (Box-Muller).
  double Normal() {
    const double u = 1.0 - Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * Uniform());
  }

 private:
  std::uint64_t state_;
};

}  // namespace velmora::demo
