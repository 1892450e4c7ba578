// Subjects (rova_asignat.txt -> ASIGNOMT) and teachers (rova_prof.txt -> PROFT): one row per
// distinct code, in the order the codes first appear; the first line of a code wins.
#include "exchange/exchange_fields.h"
#include "export/export.h"
#include "export/line_conversion.h"

namespace norvalde::exporting {

void ExportarAsignaturas(const ExportContext& context) {
  ExportLineByLine(context, {"rova_asignat.txt",
                             "No existe archivo de asignaturas (ROVA_ASIGNAT.TXT)",
                             tables::AsignomtTable(), exchange::kGuardAsignat, ColumnRange{2, 5},
                             {{"COD", 2, 5}, {"CODLARGO", 6, 25}, {"NOMBRE", 26, 175}}});
}

void ExportarProfesores(const ExportContext& context) {
  ExportLineByLine(context, {"rova_prof.txt", "No existe archivo de profesores (ROVA_PROF.TXT)",
                             tables::ProftTable(), exchange::kGuardProf, ColumnRange{2, 5},
                             {{"ABREV", 2, 5}, {"NOMBRE", 6, 95}, {"DEPART", 96, 145}}});
}

}  // namespace norvalde::exporting
