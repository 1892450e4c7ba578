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

void FillGroupRow(std::string_view line, tables::Table& row) {
  const std::string unitCode = FieldText(line, 2, 11);
  const std::string level = FieldText(line, 16, 18);
  row.SetText("ABREV", FieldText(line, 12, 15));
  row.SetText("TURNO", FieldText(line, 35, 37));
  // The timetabling program needs a level; groups without one share the placeholder.
  row.SetText("NIVEL", level.empty() ? "NIV" : level);
  row.SetText("CURSO", FieldText(line, 22, 24));
  row.SetText("GRUPO", GroupLetter(unitCode));
  row.SetText("UNIDAD", unitCode);
}

}  // namespace

void ExportarAulas(const ExportContext& context) {
  ExportLineByLine(context, {
      .fileName = "rova_aulas.txt",
      .missingMessage = "No existe archivo de aulas (ROVA_AULAS.TXT)",
      .table = tables::AulatTable(),
      .guardName = exchange::kGuardAulas,
      .duplicateKey = {},
      .fillRow =
          [](std::string_view line, tables::Table& row) {
            row.SetText("ABREV", FieldText(line, 12, 15));
            row.SetText("NOMBRE", FieldText(line, 86, 185));
          },
  });
}

void ExportarGrupos(const ExportContext& context) {
  ExportLineByLine(context, {
      .fileName = "rova_grupo.txt",
      .missingMessage = "No existe archivo de grupos (ROVA_GRUPO.TXT)",
      .table = tables::GrupostTable(),
      .guardName = exchange::kGuardGrupo,
      .duplicateKey = {},
      .fillRow = FillGroupRow,
  });
}

}  // namespace norvalde::exporting
