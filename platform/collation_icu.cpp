// The code comparison off Windows: ICU under the user's locale with case ignored, and the
// Windows rules ICU lacks (code_comparison_icu.cpp).
#include <string>

#include "platform/code_comparison.h"
#include "platform/collation.h"

namespace norvalde::platform {

namespace {

class IcuCollation : public Collation {
 public:
  int CompareCodes(const std::string& a, const std::string& b) override {
    return CompareCodesByLocale(a, b);
  }
};

}  // namespace

Collation& Collation::Default() {
  static IcuCollation collation;
  return collation;
}

}  // namespace norvalde::platform
