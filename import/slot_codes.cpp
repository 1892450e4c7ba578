#include "import/slot_codes.h"

namespace norvalde::importing {

SlotCodes::SlotCodes(tables::Table& diashorast) {
  for (diashorast.First(); !diashorast.AtEnd(); diashorast.Next()) {
    Key key(diashorast.AsText("DIA"), diashorast.AsText("HORA"));
    // try_emplace keeps the earlier row when a later one has the same day and period.
    codes_.try_emplace(std::move(key), diashorast.AsText("CODDIHO"));
  }
}

std::string SlotCodes::Find(const std::string& day, const std::string& hora) const {
  const auto found = codes_.find(Key(day, hora));
  return found == codes_.end() ? std::string() : found->second;
}

}  // namespace norvalde::importing
