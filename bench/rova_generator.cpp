#include "bench/rova_generator.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/line_file.h"
#include "bench/random.h"

namespace norvalde::bench {
namespace {

// The names below are written in this UTF-8 source; ROVA files hold Windows-1252 bytes. Every
// letter used lies in U+00A0..U+00FF, where Windows-1252 and Unicode agree, so each two-byte
// UTF-8 sequence becomes the one byte of its code point.
std::vector<std::string> Windows1252(std::vector<std::string> names) {
  for (std::string& name : names) {
    std::string bytes;
    for (size_t i = 0; i < name.size(); ++i) {
      unsigned char lead = static_cast<unsigned char>(name[i]);
      if (lead < 0x80) {
        bytes += name[i];
      } else {
        bytes += static_cast<char>((lead & 0x1F) << 6 | (name[i + 1] & 0x3F));
        ++i;
      }
    }
    name = bytes;
  }
  return names;
}

const std::vector<std::string> kSubjectNames = Windows1252({
    "Matemáticas", "Lengua Castellana y Literatura", "Educación Física",
    "Inglés", "Biología y Geología", "Física y Química",
    "Geografía e Historia", "Música", "Tecnología", "Educación Plástica y Visual",
    "Filosofía", "Latín", "Griego", "Economía", "Religión", "Francés",
    "Dibujo Técnico", "Informática", "Psicología", "Valores Éticos"});
const std::vector<std::string> kFirstNames = Windows1252({
    "José", "María", "Ángel", "Lucía", "Raúl", "Inés", "Jesús", "Begoña",
    "Ramón", "Sofía", "Iván", "Rocío", "Germán", "Aitana", "Joaquín", "Pilar"});
const std::vector<std::string> kSurnames = Windows1252({
    "Martínez", "Núñez", "Gómez", "Pérez", "Fernández", "López",
    "Sánchez", "Rodríguez", "Ibáñez", "Muñoz", "Jiménez", "Dueñas",
    "Castaño", "Ordóñez", "García", "Peña"});
const std::vector<std::string> kBuildings = Windows1252({"Edificio Norte", "Pabellón Sur",
                                             "Módulo de Ciencias", "Anexo España"});
const std::vector<std::string> kLevels = {"ESO", "BAC", "FPB", "PRI", "CFM"};
const std::vector<std::string> kShifts = {"MAT", "TAR", "M", "  T", "NOC"};
const std::vector<std::string> kHours = {"3", "2,5", "4", "1,5", "2.5", "2", "1,25", "5",
                                         "13", "15,5", "0", "1"};
const std::string kDayLetters = "LMXJVSD";
constexpr int kCourses = 4;  // courses "1" to "4" of every level

std::string Pick(Random& random, const std::vector<std::string>& list) {
  return list[random.Below(static_cast<int64_t>(list.size()))];
}

std::string PersonName(Random& random) {
  return Pick(random, kSurnames) + " " + Pick(random, kSurnames) + ", " + Pick(random, kFirstNames);
}

// Columns `first`..`first + width - 1` of `line` hold `value`, filled with spaces.
void Put(std::string& line, int first, int width, const std::string& value) {
  if (static_cast<int>(line.size()) < first - 1) line.resize(first - 1, ' ');
  line.resize(first - 1);
  line += value.substr(0, width);
  line.resize(first - 1 + width, ' ');
}

// About one detail line in twenty has one of its fields blanked.
void MaybeBlank(Random& random, std::string& line, const std::vector<std::pair<int, int>>& fields) {
  if (!random.Percent(5)) return;
  const auto& [first, width] = fields[random.Below(static_cast<int64_t>(fields.size()))];
  line.replace(first - 1, width, width, ' ');
}

// The bytes a-z raised, for guard lines written the way the file names itself.
std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Writes one ROVA file: header, the detail lines made by `detail`, a repeated header line
// written as a detail record (the guard) after the third detail line, and the trailer.
template <typename MakeDetail>
void WriteRovaFile(const std::string& folder, const std::string& fileName, int64_t count,
                   const std::string& guard, MakeDetail detail) {
  LineFile out(folder + "/" + fileName);
  std::string header = "0";
  Put(header, 2, 50, Upper(fileName));
  Put(header, 52, 8, "28012345");
  Put(header, 60, 12, "010920260800");
  out.Write(header);
  std::string line;
  for (int64_t i = 0; i < count; ++i) {
    line.clear();
    detail(i, line);
    out.Write(line);
    if (i == 2) {
      std::string guardLine = " ";
      Put(guardLine, 2, 50, "  " + guard);
      out.Write(guardLine);
    }
  }
  std::string trailer = header;
  trailer[0] = '9';
  out.Write(trailer + std::to_string(count));
  out.Close();
}

// Whether the next line repeats an earlier code: now and then, while more lines are left than
// new codes, so that every code still gets its line.
bool RepeatsACode(Random& random, int64_t linesLeft, int64_t newCodesLeft) {
  if (newCodesLeft == 0) return true;
  return linesLeft > newCodesLeft && random.Percent(3);
}

std::string TimeText(int minutesOfDay) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d", minutesOfDay / 60 % 24, minutesOfDay % 60);
  return text;
}

void WriteSubjects(const Scale& scale, Random& random, const std::string& folder) {
  // About one line in thirty repeats an earlier code in lower case with another name, which
  // the duplicate filter drops.
  int64_t lines = scale.subjects + scale.subjects / 30;
  int64_t next = 0;
  WriteRovaFile(folder, "rova_asignat.txt", lines, "rova_asignat.txt",
                [&](int64_t i, std::string& line) {
    bool repeat = next > 0 && RepeatsACode(random, lines - i, scale.subjects - next);
    int64_t index = repeat ? random.Below(next) : next++;
    std::string code = Code4(index);
    if (repeat)
      for (char& c : code)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::string name = Pick(random, kSubjectNames) + " " + kLevels[index % kLevels.size()] +
                       " " + std::to_string(index) + " (optativa de modalidad)";
    line = "1";
    Put(line, 2, 4, code);
    Put(line, 6, 20, Upper(name.substr(0, 3)) + "-" + kLevels[index % kLevels.size()] + "-" +
                         std::to_string(index));
    Put(line, 26, 150, name);
    MaybeBlank(random, line, {{6, 20}, {26, 150}});
  });
}

void WriteTeachers(const Scale& scale, Random& random, const std::string& folder) {
  int64_t lines = scale.teachers + scale.teachers / 30;
  int64_t next = 0;
  WriteRovaFile(folder, "rova_prof.txt", lines, "rova_prof.txt", [&](int64_t i, std::string& line) {
    bool repeat = next > 0 && RepeatsACode(random, lines - i, scale.teachers - next);
    int64_t index = repeat ? random.Below(next) : next++;
    line = "1";
    Put(line, 2, 4, Code4(index));
    Put(line, 6, 90, PersonName(random));
    Put(line, 96, 50, "Departamento de " + Pick(random, kSubjectNames));
    MaybeBlank(random, line, {{6, 90}, {96, 50}});
  });
}

void WriteRooms(const Scale& scale, Random& random, const std::string& folder) {
  WriteRovaFile(folder, "rova_aulas.txt", scale.rooms, "rova_aulas.txt",
                [&](int64_t i, std::string& line) {
    line = "1";
    Put(line, 2, 10, std::to_string(100000 + i));
    Put(line, 12, 4, Code4(i));
    Put(line, 86, 100, "Aula " + std::to_string(i + 1) + " del " + Pick(random, kBuildings) +
                           ", planta " + std::to_string(i % 4));
    MaybeBlank(random, line, {{86, 100}});
  });
}

// Group i has level kLevels[i % 5] and course i / 5 % 4 + 1, so every level and course has
// groups, and the weekly-hours lines below find them.
void WriteGroups(const Scale& scale, Random& random, const std::string& folder) {
  WriteRovaFile(folder, "rova_grupo.txt", scale.groups, "rova_grupos.txt",
                [&](int64_t i, std::string& line) {
    std::string level = kLevels[i % kLevels.size()];
    std::string course = std::to_string(i / kLevels.size() % kCourses + 1);
    std::string letter(1, static_cast<char>('A' + i / (kLevels.size() * kCourses) % 6));
    line = "1";
    Put(line, 2, 10, Code4(i / 20) + course + level + letter);
    Put(line, 12, 4, Code4(i));
    Put(line, 16, 3, level);
    Put(line, 22, 3, course);
    Put(line, 35, 3, Pick(random, kShifts));
    MaybeBlank(random, line, {{2, 10}, {16, 3}, {35, 3}});
  });
}

void WriteAssignments(const Scale& scale, Random& random, const std::string& folder) {
  WriteRovaFile(folder, "rova_asignatgrupo.txt", scale.assignments, "rova_asignatgrupo.txt",
                [&](int64_t, std::string& line) {
    line = "1";
    Put(line, 2, 10, "");
    Put(line, 12, 4, Code4(random.Below(scale.groups)));
    Put(line, 16, 4, Code4(random.Below(scale.subjects)));
    MaybeBlank(random, line, {{12, 4}, {16, 4}});
  });
}

// Line i gives the hours of subject i / 20 at the (level, course) pair i % 20.
void WriteCourseHours(const Scale& scale, Random& random, const std::string& folder) {
  const int64_t pairs = static_cast<int64_t>(kLevels.size()) * kCourses;
  WriteRovaFile(folder, "rova_asignatcurso.txt", scale.courseHours, "rova_asignatcurso.txt",
                [&](int64_t i, std::string& line) {
    line = "1";
    Put(line, 2, 3, kLevels[i % pairs % kLevels.size()]);
    Put(line, 8, 3, std::to_string(i % pairs / kLevels.size() + 1));
    Put(line, 24, 4, Code4(i / pairs % scale.subjects));
    Put(line, 28, 6, Pick(random, kHours));
    MaybeBlank(random, line, {{28, 6}});
  });
}

// Periods of 15 minutes every 20 minutes from 07:00, so that a week of 300 slots still fits in
// one day's hours; the same periods on every day; days as letters.
void WriteSlots(const Scale& scale, Random& random, const std::string& folder) {
  const int64_t slots = static_cast<int64_t>(scale.days) * scale.periodsPerDay;
  WriteRovaFile(folder, "rova_sesiones.txt", slots, "rova_sesiones.txt",
                [&](int64_t i, std::string& line) {
    int day = static_cast<int>(i / scale.periodsPerDay);
    int period = static_cast<int>(i % scale.periodsPerDay);
    int start = 7 * 60 + period * 20;
    line = "1";
    Put(line, 2, 3, "");
    Put(line, 5, 4, Code4(i));
    Put(line, 9, 1, std::string(1, kDayLetters[day % kDayLetters.size()]));
    Put(line, 10, 4, TimeText(start));
    Put(line, 14, 4, TimeText(start + 15));
    // A blank slot code; never a blank day on the line the Import reads its day mode from.
    if (i > 0) MaybeBlank(random, line, {{5, 4}});
  });
}

}  // namespace

std::string Code4(int64_t index) {
  static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string code(4, '0');
  for (int i = 3; i >= 0; --i, index /= 36) code[i] = kDigits[index % 36];
  return code;
}

void GenerateRovaFiles(const Scale& scale, uint64_t seed, const std::string& folder) {
  // Each file has its own sequence, so changing one file's shape leaves the others as they were.
  Random subjects(seed * 8 + 1), teachers(seed * 8 + 2), rooms(seed * 8 + 3),
      groups(seed * 8 + 4), assignments(seed * 8 + 5), courseHours(seed * 8 + 6),
      slots(seed * 8 + 7);
  WriteSubjects(scale, subjects, folder);
  WriteTeachers(scale, teachers, folder);
  WriteRooms(scale, rooms, folder);
  WriteGroups(scale, groups, folder);
  WriteAssignments(scale, assignments, folder);
  WriteCourseHours(scale, courseHours, folder);
  WriteSlots(scale, slots, folder);
}

}  // namespace norvalde::bench
