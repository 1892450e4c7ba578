// A small random number source whose sequence depends only on its seed, on every compiler and
// standard library (the distributions of <random> differ between libraries).
#pragma once

#include <cstdint>

namespace norvalde::bench {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number in [0, bound); bound > 0. The slight bias of the modulo does not matter here.
  int64_t Below(int64_t bound) { return static_cast<int64_t>(Next() % static_cast<uint64_t>(bound)); }
  // True with the given chance in percent.
  bool Percent(int chance) { return Below(100) < chance; }

 private:
  uint64_t state_;
};

}  // namespace norvalde::bench
