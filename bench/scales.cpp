#include "bench/scales.h"

namespace norvalde::bench {

std::optional<Scale> FindScale(const std::string& name) {
  // One secondary school; a district of many schools; ten districts. The slots stay those of
  // one week whatever the size, as a timetable has one week.
  if (name == "school") return Scale{name, 40, 60, 30, 24, 600, 800, 5, 6, 1000};
  if (name == "district")
    return Scale{name, 5000, 2000, 500, 20000, 1000000, 100000, 6, 50, 1000000};
  if (name == "district10")
    return Scale{name, 50000, 20000, 5000, 200000, 10000000, 1000000, 6, 50, 10000000};
  return std::nullopt;
}

}  // namespace norvalde::bench
