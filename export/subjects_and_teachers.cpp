// Subjects (rova_asignat.txt -> ASIGNOMT) and teachers (rova_prof.txt -> PROFT): one row per
// distinct code, in the order the codes first appear; the first line of a code wins.
#include "exchange/exchange_fields.h"
#include "export/export.h"
#include "export/line_conversion.h"

namespace norvalde::exporting {

using exchange::FieldText;

void ExportarAsignaturas(const ExportContext& context) {
  ExportLineByLine(context, {
      .fileName = "rova_asignat.txt",
      .missingMessage = "No existe archivo de asignaturas (ROVA_ASIGNAT.TXT)",
      .table = tables::AsignomtTable(),
      .guardName = exchange::kGuardAsignat,
      .duplicateKey = [](std::string_view line) { return FieldText(line, 2, 5); },
      .fillRow =
          [](std::string_view line, tables::Table& row) {
            row.SetText("COD", FieldText(line, 2, 5));
            row.SetText("CODLARGO", FieldText(line, 6, 25));
            row.SetText("NOMBRE", FieldText(line, 26, 175));
          },
  });
}

void ExportarProfesores(const ExportContext& context) {
  ExportLineByLine(context, {
      .fileName = "rova_prof.txt",
      .missingMessage = "No existe archivo de profesores (ROVA_PROF.TXT)",
      .table = tables::ProftTable(),
      .guardName = exchange::kGuardProf,
      .duplicateKey = [](std::string_view line) { return FieldText(line, 2, 5); },
      .fillRow =
          [](std::string_view line, tables::Table& row) {
            row.SetText("ABREV", FieldText(line, 2, 5));
            row.SetText("NOMBRE", FieldText(line, 6, 95));
            row.SetText("DEPART", FieldText(line, 96, 145));
          },
  });
}

}  // namespace norvalde::exporting
