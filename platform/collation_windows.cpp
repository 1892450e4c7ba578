// The code comparison on Windows: CompareStringA with the user's locale, case ignored.
#include "platform/windows_api.h"

#include <string>

#include "platform/collation.h"

namespace norvalde::platform {

namespace {

class WindowsCollation : public Collation {
 public:
  // The ANSI call compares the bytes as the system's code page, which on the machines this
  // program serves is Windows-1252, the code page of the data.
  int CompareCodes(const std::string& a, const std::string& b) override {
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    switch (result) {
      case CSTR_LESS_THAN:
        return -1;
      case CSTR_EQUAL:
        return 0;
      case CSTR_GREATER_THAN:
        return 1;
    }
    // The call fails only on invalid arguments; byte order still gives the callers a total
    // order rather than calling every pair equal.
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  }
};

}  // namespace

Collation& Collation::Default() {
  static WindowsCollation collation;
  return collation;
}

}  // namespace norvalde::platform
