#include "tests/export/assignment_passes_walk.h"

#include <algorithm>
#include <optional>
#include <string>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_line_list.h"
#include "export/input_files.h"
#include "export/line_conversion.h"
#include "export/number_conversions.h"
#include "export/session_pattern.h"
#include "tables/table.h"
#include "tables/work_tables.h"

namespace norvalde::exporting::testing {
namespace {

// Pass 2: for each row, the first GRUPOST row whose ABREV equals its CGRUP.
void GroupPass(const ExportContext& context, tables::Table& asigt) {
  tables::Table grupost(context.env);
  grupost.Open(context.workFolder, "GRUPOST.DBF", tables::Sharing::kShared,
               tables::Access::kReadOnly);
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    for (grupost.First(); !grupost.AtEnd(); grupost.Next()) {
      if (asigt.AsText("CGRUP") != grupost.AsText("ABREV")) continue;
      asigt.Edit();
      for (const char* field : {"TURNO", "NIVEL", "CURSO", "GRUPO"}) {
        asigt.SetText(field, grupost.AsText(field));
      }
      asigt.Post();
      break;
    }
  }
  grupost.Close();
}

// Pass 3: for each row, the first course-hours line of its subject, level and course.
void HoursPass(const std::string& path, const ExportContext& context, tables::Table& asigt) {
  exchange::ExchangeLineList lines(context.env);
  lines.LoadFromFile(path);
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    const std::string subject = asigt.AsText("CASIG"), level = asigt.AsText("NIVEL"),
                      course = asigt.AsText("CURSO");
    for (int i = 0; i < lines.Count(); ++i) {
      const std::string_view line = lines.Line(i);
      if (!exchange::IsDetailLine(line, exchange::kGuardAsignatCurso) ||
          exchange::FieldText(line, 24, 27) != subject ||
          exchange::FieldText(line, 2, 4) != level || exchange::FieldText(line, 8, 10) != course)
        continue;
      std::string text = exchange::FieldText(line, 28, 33);
      if (text.empty()) text.push_back('1');
      std::replace(text.begin(), text.end(), ',', '.');
      asigt.Edit();
      asigt.SetNumber("HORAS", FloatFromText(text));
      if (asigt.AsNumber("HORAS") < 1) asigt.SetNumber("HORAS", 1);
      asigt.SetText("SESIONES", SessionPattern(asigt.AsNumber("HORAS")));
      asigt.Post();
      break;
    }
  }
}

// Pass 4: one hour for every row still without hours.
void DefaultHoursPass(tables::Table& asigt) {
  for (asigt.First(); !asigt.AtEnd(); asigt.Next()) {
    if (asigt.AsNumber("HORAS") != 0) continue;
    asigt.Edit();
    asigt.SetNumber("HORAS", 1);
    asigt.SetText("SESIONES", "1");
    asigt.Post();
  }
}

}  // namespace

void WalkAssignmentPasses(const ExportContext& context) {
  tables::Table asigt(context.env);
  if (!ConvertLineByLine(context,
                         {"rova_asignatgrupo.txt",
                          "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)",
                          tables::AsigtTable(), exchange::kGuardAsignatGrupo, std::nullopt,
                          {{"CASIG", 16, 19}, {"CGRUP", 12, 15}}},
                         asigt)) {
    return;
  }
  GroupPass(context, asigt);
  const std::optional<std::string> path = FindInputFile(
      context, "rova_asignatcurso.txt", "No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)");
  if (!path) {
    asigt.Close();
    return;
  }
  HoursPass(*path, context, asigt);
  DefaultHoursPass(asigt);
  asigt.Close();
}

}  // namespace norvalde::exporting::testing
