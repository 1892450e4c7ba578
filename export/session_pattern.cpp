#include "export/session_pattern.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace norvalde::exporting {

std::string SessionPattern(double hours) {
  constexpr int kOnesAfterLead = 13;
  const double whole = std::floor(hours);
  std::string pattern;
  if (whole > kOnesAfterLead) {
    // Printed from the double itself: the hours can exceed every integer type.
    char lead[400];
    std::snprintf(lead, sizeof lead, "%.0f", whole - kOnesAfterLead);
    pattern = lead;
    pattern.append(kOnesAfterLead, '1');
  } else {
    pattern.append(static_cast<size_t>(std::max(whole, 0.0)), '1');
  }
  if (hours > whole) pattern += '\xBD';
  return pattern;
}

}  // namespace norvalde::exporting
