// ROVA's slot code for a day and a period, answered from DIASHORAST read once.
//
// DIASHORAST is walked a single time and the first row of each (DIA, HORA) pair is kept, so
// every lookup gives what a walk from the first row to the first exact match would give,
// without walking the table once per lesson.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "tables/table.h"

namespace norvalde::importing {

class SlotCodes {
 public:
  // Reads DIA, HORA and CODDIHO as text from every row of the open table, which is left at
  // its end. A missing field fails with the table's own field error.
  explicit SlotCodes(tables::Table& diashorast);

  // CODDIHO of the first row whose DIA and HORA hold exactly these bytes; empty when none.
  std::string Find(const std::string& day, const std::string& hora) const;

 private:
  using Key = std::pair<std::string, std::string>;
  struct KeyHash {
    size_t operator()(const Key& key) const {
      const size_t day = std::hash<std::string>()(key.first);
      return day ^ (std::hash<std::string>()(key.second) + 0x9e3779b9 + (day << 6) + (day >> 2));
    }
  };
  std::unordered_map<Key, std::string, KeyHash> codes_;
};

}  // namespace norvalde::importing
