// The records of ROVA_HORARIO.TXT: header, one lesson per timetabled SOLUC row, trailer.
// Every field but the trailer's count is filled to its width and never cut, so a longer
// value moves the later fields of its record to the right.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "import/rova_inputs.h"

namespace norvalde::importing {

inline constexpr char kHorarioFileName[] = "ROVA_HORARIO.TXT";

// The day as ROVA writes it: with letters, "1".."7" become "L", "M", "X", "J", "V", "S", "D";
// any other text, and every text with digits, stays as it is.
std::string RovaDay(const std::string& dayText, DayNumbering numbering);

// The texts of one lesson record, held elsewhere.
struct Lesson {
  std::string_view slotCode;  // CODDIHO of the slot, empty when no slot matched
  std::string_view day;       // already as ROVA writes it
  std::string_view prof;
  std::string_view codGrupo;
  std::string_view asig;
  std::string_view aula;
};

// "0", the file name to 50, the centre code to 8, the 12-digit time stamp.
std::string HeaderRecord(const std::string& centreCode, const std::string& timeStamp);
// "1", slot 4, day 1, teacher 4, group 4, "LEC" 4, subject 4, room 4.
std::string LessonRecord(const Lesson& lesson);
// The same record built in place: its length, and its bytes put at `at` (LessonRecordSize of
// them), returning where they end. The Import builds each record straight in its output buffer.
size_t LessonRecordSize(const Lesson& lesson);
char* PutLessonRecord(const Lesson& lesson, char* at);
// As the header with "9", then the number of lessons in decimal with no fill.
std::string TrailerRecord(const std::string& centreCode, const std::string& timeStamp,
                          int lessonCount);

}  // namespace norvalde::importing
