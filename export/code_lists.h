// Lists of codes kept under the code comparison (locale collation, case ignored): the
// duplicate filter of the subjects and teachers and the start times of the week.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/collation.h"

namespace norvalde::exporting {

// Orders codes as Collation::CompareCodes does; codes it finds equal are one code.
class CodeOrder {
 public:
  explicit CodeOrder(platform::Collation& collation) : collation_(&collation) {}
  bool operator()(const std::string& a, const std::string& b) const {
    return collation_->CompareCodes(a, b) < 0;
  }

 private:
  platform::Collation* collation_;
};

// The codes already given a row. Kept ordered so that each test costs a logarithmic number of
// comparisons; since the collation orders consistently, an equal entry is found exactly when
// a scan of the list from its first entry would find one.
class SeenCodes {
 public:
  explicit SeenCodes(platform::Collation& collation) : codes_(CodeOrder(collation)) {}
  // Adds `code` and returns true, unless an equal code is already in.
  bool Insert(const std::string& code) { return codes_.insert(code).second; }

 private:
  std::set<std::string, CodeOrder> codes_;
};

// The distinct start times of the week in ascending collation order. Digit strings compare
// character by character, so "800" sorts after "1045".
class StartTimeList {
 public:
  explicit StartTimeList(platform::Collation& collation) : order_(collation) {}
  // Inserts `time` where the order puts it, unless an equal entry is already in.
  void Add(const std::string& time);
  // The number of entries that sort before `time`: 0 for the earliest start time.
  int Position(const std::string& time) const;

 private:
  CodeOrder order_;
  std::vector<std::string> times_;
};

}  // namespace norvalde::exporting
