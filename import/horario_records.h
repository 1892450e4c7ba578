// The records of ROVA_HORARIO.TXT: header, one lesson per timetabled SOLUC row, trailer.
// Every field but the trailer's count is filled to its width and never cut, so a longer
// value moves the later fields of its record to the right.
#pragma once

#include <string>

#include "import/rova_inputs.h"

namespace norvalde::importing {

inline constexpr char kHorarioFileName[] = "ROVA_HORARIO.TXT";

// The day as ROVA writes it: with letters, "1".."7" become "L", "M", "X", "J", "V", "S", "D";
// any other text, and every text with digits, stays as it is.
std::string RovaDay(const std::string& dayText, DayNumbering numbering);

struct Lesson {
  std::string slotCode;  // CODDIHO of the slot, empty when no slot matched
  std::string day;       // already as ROVA writes it
  std::string prof;
  std::string codGrupo;
  std::string asig;
  std::string aula;
};

// "0", the file name to 50, the centre code to 8, the 12-digit time stamp.
std::string HeaderRecord(const std::string& centreCode, const std::string& timeStamp);
// "1", slot 4, day 1, teacher 4, group 4, "LEC" 4, subject 4, room 4.
std::string LessonRecord(const Lesson& lesson);
// As the header with "9", then the number of lessons in decimal with no fill.
std::string TrailerRecord(const std::string& centreCode, const std::string& timeStamp,
                          int lessonCount);

}  // namespace norvalde::importing
