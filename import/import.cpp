#include "import/import.h"

#include <optional>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_file_writer.h"
#include "import/horario_records.h"
#include "import/import_table_session.h"
#include "import/rova_inputs.h"
#include "import/slot_codes.h"
#include "platform/paths.h"

namespace norvalde::importing {
namespace {

// One lesson record per SOLUC row whose day is not 0, in stored order, each built in place in
// the output's buffer.
void AddLessons(tables::Table& soluc, tables::Table& diashorast, DayNumbering numbering,
                exchange::ExchangeFileWriter& output) {
  // Built at the first lesson, where a walk of DIASHORAST would first read it, so a run
  // without lessons never depends on DIASHORAST's fields.
  std::optional<SlotCodes> slots;
  const tables::FieldHandle dia = soluc.FindField("DIA"), horaField = soluc.FindField("HORA"),
                            prof = soluc.FindField("PROF"), codGrupo = soluc.FindField("CODGRUPO"),
                            asig = soluc.FindField("ASIG"), aula = soluc.FindField("AULA");
  // Each text is read as a view into the row where the table allows, else into its own string.
  std::string horaText, profText, codGrupoText, asigText, aulaText;
  for (soluc.First(); !soluc.AtEnd(); soluc.Next()) {
    if (soluc.AsInteger(dia) == 0) continue;  // a row without a lesson
    const std::string_view hora = soluc.TextView(horaField, horaText);
    const std::string day = RovaDay(soluc.AsText(dia), numbering);
    if (!slots) slots.emplace(diashorast);
    const std::string& slotCode = slots->Find(day, hora);
    const Lesson lesson{slotCode,
                        day,
                        soluc.TextView(prof, profText),
                        soluc.TextView(codGrupo, codGrupoText),
                        soluc.TextView(asig, asigText),
                        soluc.TextView(aula, aulaText)};
    output.EndLine(PutLessonRecord(lesson, output.LineSpace(LessonRecordSize(lesson))));
  }
}

}  // namespace

void RunImport(const ImportContext& context, ImportTables& tables) {
  RunAction(context, "Proceso Terminado", [&] {
    platform::Env& env = context.env;
    const std::string centreCode = ReadCentreCode(env, context.carpeta);
    const DayNumbering numbering = ReadDayNumbering(env, context.carpeta);

    // `carpeta` already ends with a separator; the doubled one still names the chosen folder.
    // The lines go to a temporary file as they are made, and the file replaces an earlier one
    // only once complete, so an earlier file survives any failure up to the commit whole.
    exchange::ExchangeFileWriter output(
        env, context.carpeta + platform::kPathSeparator + kHorarioFileName);
    output.Add(HeaderRecord(centreCode, exchange::ExchangeTimeStamp(env)));

    ImportTableSession session(tables, context.workFolder);
    AddLessons(tables.wwTableSoluc, tables.wwTableTramos, numbering, output);
    session.Close();

    // The clock is read again: the trailer may be a minute later than the header.
    output.Add(TrailerRecord(centreCode, exchange::ExchangeTimeStamp(env), output.Count() - 1));

    output.Commit();
  });
}

}  // namespace norvalde::importing
