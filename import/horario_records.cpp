#include "import/horario_records.h"

#include "exchange/exchange_fields.h"

namespace norvalde::importing {
namespace {

using exchange::FillToWidth;

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
  return "1" + FillToWidth(lesson.slotCode, 4) + FillToWidth(lesson.day, 1) +
         FillToWidth(lesson.prof, 4) + FillToWidth(lesson.codGrupo, 4) + FillToWidth("LEC", 4) +
         FillToWidth(lesson.asig, 4) + FillToWidth(lesson.aula, 4);
}

std::string TrailerRecord(const std::string& centreCode, const std::string& timeStamp,
                          int lessonCount) {
  return "9" + FileIdentification(centreCode, timeStamp) + std::to_string(lessonCount);
}

}  // namespace norvalde::importing
