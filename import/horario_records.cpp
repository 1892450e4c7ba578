#include "import/horario_records.h"

#include <algorithm>
#include <cstring>

#include "exchange/exchange_fields.h"

namespace norvalde::importing {
namespace {

using exchange::FillToWidth;

constexpr std::string_view kActivity = "LEC";  // every record is a lesson

// What FillToWidth gives, without building it: the value, then spaces up to the width.
size_t FilledSize(std::string_view value, size_t width) { return std::max(value.size(), width); }

// Most values fill their width exactly: those are copied as one block of a size known here,
// which compiles to a plain load and store where a call to copy a few bytes would cost more.
template <size_t kWidth>
char* PutFilled(std::string_view value, char* at) {
  if (value.size() == kWidth) {
    std::memcpy(at, value.data(), kWidth);
    return at + kWidth;
  }
  at = std::copy(value.begin(), value.end(), at);
  if (value.size() < kWidth) at = std::fill_n(at, kWidth - value.size(), ' ');
  return at;
}

std::string FileIdentification(const std::string& centreCode, const std::string& timeStamp) {
  return FillToWidth(kHorarioFileName, 50) + FillToWidth(centreCode, 8) + timeStamp;
}

}  // namespace

std::string RovaDay(const std::string& dayText, DayNumbering numbering) {
  static constexpr char kLetters[] = "LMXJVSD";  // Monday to Sunday
  if (numbering == DayNumbering::kLetters && dayText.size() == 1 && dayText[0] >= '1' &&
      dayText[0] <= '7') {
    return std::string(1, kLetters[dayText[0] - '1']);
  }
  return dayText;
}

std::string HeaderRecord(const std::string& centreCode, const std::string& timeStamp) {
  return "0" + FileIdentification(centreCode, timeStamp);
}

std::string LessonRecord(const Lesson& lesson) {
  std::string record(LessonRecordSize(lesson), ' ');
  PutLessonRecord(lesson, record.data());
  return record;
}

size_t LessonRecordSize(const Lesson& lesson) {
  return 1 + FilledSize(lesson.slotCode, 4) + FilledSize(lesson.day, 1) +
         FilledSize(lesson.prof, 4) + FilledSize(lesson.codGrupo, 4) + FilledSize(kActivity, 4) +
         FilledSize(lesson.asig, 4) + FilledSize(lesson.aula, 4);
}

char* PutLessonRecord(const Lesson& lesson, char* at) {
  *at++ = '1';
  at = PutFilled<4>(lesson.slotCode, at);
  at = PutFilled<1>(lesson.day, at);
  at = PutFilled<4>(lesson.prof, at);
  at = PutFilled<4>(lesson.codGrupo, at);
  at = PutFilled<4>(kActivity, at);
  at = PutFilled<4>(lesson.asig, at);
  return PutFilled<4>(lesson.aula, at);
}

std::string TrailerRecord(const std::string& centreCode, const std::string& timeStamp,
                          int lessonCount) {
  return "9" + FileIdentification(centreCode, timeStamp) + std::to_string(lessonCount);
}

}  // namespace norvalde::importing
