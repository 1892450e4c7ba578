// ROVA's slot code for a day and a period, answered from DIASHORAST read once.
//
// DIASHORAST is walked a single time and the first row of each (DIA, HORA) pair is kept, so
// every lookup gives what a walk from the first row to the first exact match would give,
// without walking the table once per lesson. Such a walk reads CODDIHO only at the row it
// matches, so CODDIHO fails a lookup only there: a missing or unreadable CODDIHO of a row that
// no lesson matches never fails the run.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "exchange/first_key_index.h"
#include "tables/table.h"

namespace norvalde::importing {

class SlotCodes {
 public:
  // Reads DIA and HORA as text from every row of the open table, which is left at its end, and
  // CODDIHO from the first row of each pair. A missing DIA or HORA fails with the table's own
  // field error.
  explicit SlotCodes(tables::Table& diashorast);

  // CODDIHO of the first row whose DIA and HORA hold exactly these bytes; empty when none.
  // When that row's CODDIHO could not be read, fails as reading it failed.
  const std::string& Find(std::string_view day, std::string_view hora) const;

 private:
  struct Code {
    std::string coddiho;
    std::exception_ptr failure;  // reading CODDIHO failed
  };
  exchange::FirstKeyIndex index_;
  std::vector<Code> codes_;
};

}  // namespace norvalde::importing
