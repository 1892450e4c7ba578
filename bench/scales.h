// The named data sizes the generator and the benchmark work with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace norvalde::bench {

struct Scale {
  std::string name;
  int64_t subjects = 0;
  int64_t teachers = 0;
  int64_t rooms = 0;
  int64_t groups = 0;
  int64_t assignments = 0;   // lines of the subject-group assignments file
  int64_t courseHours = 0;   // lines of the weekly-hours file
  int days = 0;              // teaching days of the week (slots = days * periodsPerDay)
  int periodsPerDay = 0;
  int64_t solucRows = 0;     // rows of the timetable solution table
};

// "school", "district" or "district10"; nothing for any other name.
std::optional<Scale> FindScale(const std::string& name);

}  // namespace norvalde::bench
