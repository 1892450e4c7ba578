// Subject-group assignments -> ASIGT, in four passes over the new table: one row per line of
// rova_asignatgrupo.txt, then each row's group data from GRUPOST, then its weekly hours and
// session pattern from rova_asignatcurso.txt, and at last one hour for the rows that found none.
//
// Both lookups are answered from a map built once, holding for each key the first row or line
// that a walk from the start would meet, so a run costs time in proportion to its data.
#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <unordered_map>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_line_list.h"
#include "export/export.h"
#include "export/input_files.h"
#include "export/line_conversion.h"
#include "export/number_conversions.h"
#include "export/session_pattern.h"

namespace norvalde::exporting {
namespace {

using exchange::FieldText;

struct GroupData {
  std::string turno;
  std::string nivel;
  std::string curso;
  std::string grupo;
};

// GRUPOST's rows by ABREV as read back (cut to width, trailing blanks gone); matching is byte
// for byte, case included. A repeated ABREV keeps its first row.
std::unordered_map<std::string, GroupData> GroupsByAbbreviation(tables::Table& grupost) {
  std::unordered_map<std::string, GroupData> groups;
  for (grupost.First(); !grupost.AtEnd(); grupost.Next()) {
    groups.try_emplace(grupost.AsText("ABREV"),
                       GroupData{grupost.AsText("TURNO"), grupost.AsText("NIVEL"),
                                 grupost.AsText("CURSO"), grupost.AsText("GRUPO")});
  }
  return groups;
}

// Rows whose group is not in GRUPOST keep the four fields empty.
void CopyGroupData(const ExportContext& context, tables::Table& asigt) {
  tables::Table grupost(context.env);
  grupost.Open(context.workFolder, "GRUPOST.DBF", tables::Sharing::kShared,
               tables::Access::kReadOnly);
  asigt.First();
  if (!asigt.AtEnd()) {  // GRUPOST is read only when there is an assignment to look up
    const auto groups = GroupsByAbbreviation(grupost);
    for (; !asigt.AtEnd(); asigt.Next()) {
      const auto group = groups.find(asigt.AsText("CGRUP"));
      if (group == groups.end()) continue;
      asigt.Edit();
      asigt.SetText("TURNO", group->second.turno);
      asigt.SetText("NIVEL", group->second.nivel);
      asigt.SetText("CURSO", group->second.curso);
      asigt.SetText("GRUPO", group->second.grupo);
      asigt.Post();
    }
  }
  grupost.Close();
}

// Subject, level and course as one text, each part preceded by its length so that no two
// different triples give the same key. Every part comes from a few columns or a narrow field,
// so its length fits in one byte.
std::string CourseKey(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (std::string_view part : parts) {
    key += static_cast<char>(part.size());
    key += part;
  }
  return key;
}

using HoursByCourse = std::unordered_map<std::string, std::string>;

// The weekly hours field of the first detail line for each subject, level and course.
HoursByCourse LoadHoursByCourse(platform::Env& env, const std::string& path) {
  exchange::ExchangeLineList lines(env);
  lines.LoadFromFile(path);
  HoursByCourse hours;
  hours.reserve(static_cast<size_t>(lines.Count()));
  for (int index = 0; index < lines.Count(); ++index) {
    const std::string_view line = lines.Line(index);
    if (!exchange::IsDetailLine(line, exchange::kGuardAsignatCurso)) continue;
    hours.try_emplace(
        CourseKey({FieldText(line, 24, 27), FieldText(line, 2, 4), FieldText(line, 8, 10)}),
        FieldText(line, 28, 33));
  }
  return hours;
}

// Rows without a course-hours line keep HORAS and SESIONES empty here; returns whether there
// was one. A text that is not a number ends the run at its row, which is left unchanged.
bool SetHours(tables::Table& asigt, const HoursByCourse& hoursByCourse) {
  bool rowWithoutHours = false;
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    const auto found = hoursByCourse.find(
        CourseKey({asigt.AsText("CASIG"), asigt.AsText("NIVEL"), asigt.AsText("CURSO")}));
    if (found == hoursByCourse.end()) {
      rowWithoutHours = true;
      continue;
    }
    std::string text = found->second.empty() ? "1" : found->second;
    std::replace(text.begin(), text.end(), ',', '.');  // ROVA may write a decimal comma
    asigt.Edit();
    asigt.SetNumber("HORAS", FloatFromText(text));
    // The pattern follows the value as stored, so it always agrees with HORAS.
    double hours = asigt.AsNumber("HORAS");
    if (hours < 1) {
      hours = 1;
      asigt.SetNumber("HORAS", hours);
    }
    asigt.SetText("SESIONES", SessionPattern(hours));
    asigt.Post();
  }
  return rowWithoutHours;
}

// Every assignment is taught at least one hour a week. Only the rows that SetHours left empty
// read 0.
void SetDefaultHours(tables::Table& asigt) {
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    if (asigt.AsNumber("HORAS") != 0) continue;
    asigt.Edit();
    asigt.SetNumber("HORAS", 1);
    asigt.SetText("SESIONES", "1");
    asigt.Post();
  }
}

}  // namespace

void ExportarAsignaturasGrupos(const ExportContext& context) {
  tables::Table asigt(context.env);
  const bool found = ConvertLineByLine(
      context,
      {"rova_asignatgrupo.txt", "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)",
       tables::AsigtTable(), exchange::kGuardAsignatGrupo, std::nullopt,
       {{"CASIG", 16, 19}, {"CGRUP", 12, 15}}},
      asigt);
  if (!found) return;

  CopyGroupData(context, asigt);

  const std::optional<std::string> coursePath = FindInputFile(
      context, "rova_asignatcurso.txt", "No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)");
  if (!coursePath) {
    asigt.Close();
    return;
  }
  // When every row found its hours, a walk for the defaults would change nothing.
  if (SetHours(asigt, LoadHoursByCourse(context.env, *coursePath))) SetDefaultHours(asigt);
  asigt.Close();
}

}  // namespace norvalde::exporting
