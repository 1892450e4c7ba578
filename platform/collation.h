// The code comparison: the user's locale collation with case ignored, every other difference
// kept. A seam of its own beside Env, so a conversion gets only the comparison it orders by
// and a test can put a plain byte order in its place.
#pragma once

#include <string>

namespace norvalde::platform {

class Collation {
 public:
  Collation() = default;
  Collation(const Collation&) = delete;
  Collation& operator=(const Collation&) = delete;
  virtual ~Collation() = default;

  // The user's locale, as the system collates it. Lives for the whole process.
  static Collation& Default();

  // Arguments are Windows-1252 bytes. Result < 0, 0 or > 0.
  virtual int CompareCodes(const std::string& a, const std::string& b) = 0;
};

}  // namespace norvalde::platform
