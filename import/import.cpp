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
  for (soluc.First(); !soluc.AtEnd(); soluc.Next()) {
    if (soluc.AsInteger("DIA") == 0) continue;  // a row without a lesson
    const std::string hora = soluc.AsText("HORA");
    const std::string day = RovaDay(soluc.AsText("DIA"), numbering);
    if (!slots) slots.emplace(diashorast);
    const std::string slotCode = slots->Find(day, hora);
    const std::string prof = soluc.AsText("PROF");
    const std::string codGrupo = soluc.AsText("CODGRUPO");
    const std::string asig = soluc.AsText("ASIG");
    const std::string aula = soluc.AsText("AULA");
    const Lesson lesson{slotCode, day, prof, codGrupo, asig, aula};
    output.EndLine(PutLessonRecord(lesson, output.LineSpace(LessonRecordSize(lesson))));
  }
}

}  // namespace

void RunImport(const ImportContext& context, tables::ImportTables& tables) {
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

  context.messages.RestoreCursor();
  context.messages.ShowMessage("Proceso Terminado");
}

}  // namespace norvalde::importing
