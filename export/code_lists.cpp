#include "export/code_lists.h"

#include <algorithm>

namespace norvalde::exporting {

void StartTimeList::Add(const std::string& time) {
  const auto place = std::lower_bound(times_.begin(), times_.end(), time, order_);
  if (place == times_.end() || order_(time, *place)) times_.insert(place, time);
}

int StartTimeList::Position(const std::string& time) const {
  const auto place = std::lower_bound(times_.begin(), times_.end(), time, order_);
  return static_cast<int>(place - times_.begin());
}

}  // namespace norvalde::exporting
