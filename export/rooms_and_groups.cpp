// Rooms (rova_aulas.txt -> AULAT) and groups (rova_grupo.txt -> GRUPOST): every detail line
// becomes a row, repeated codes included.
#include "exchange/exchange_fields.h"
#include "export/export.h"
#include "export/line_conversion.h"

namespace norvalde::exporting {
namespace {

using exchange::FieldText;

// The group letter is the last character of the unit code ("1ESOA" -> "A"). The unit code is
// trimmed, so its last character is never a blank.
std::string GroupLetter(const std::string& unitCode) {
  return unitCode.empty() ? std::string() : unitCode.substr(unitCode.size() - 1);
}

// The fields of a group row that are not plain copies of columns.
void DeriveGroupFields(std::string_view line, tables::Table& row) {
  const std::string unitCode = FieldText(line, 2, 11);
  const std::string level = FieldText(line, 16, 18);
  // The timetabling program needs a level; groups without one share the placeholder.
  row.SetText("NIVEL", level.empty() ? "NIV" : level);
  row.SetText("GRUPO", GroupLetter(unitCode));
  row.SetText("UNIDAD", unitCode);
}

}  // namespace

void ExportarAulas(const ExportContext& context) {
  ExportLineByLine(context, {"rova_aulas.txt", "No existe archivo de aulas (ROVA_AULAS.TXT)",
                             tables::AulatTable(), exchange::kGuardAulas, std::nullopt,
                             {{"ABREV", 12, 15}, {"NOMBRE", 86, 185}}});
}

void ExportarGrupos(const ExportContext& context) {
  ExportLineByLine(context, {"rova_grupo.txt", "No existe archivo de grupos (ROVA_GRUPO.TXT)",
                             tables::GrupostTable(), exchange::kGuardGrupo, std::nullopt,
                             {{"ABREV", 12, 15}, {"TURNO", 35, 37}, {"CURSO", 22, 24}},
                             DeriveGroupFields});
}

}  // namespace norvalde::exporting
