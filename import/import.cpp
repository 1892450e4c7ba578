#include "import/import.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_file_writer.h"
#include "exchange/first_key_index.h"
#include "import/horario_records.h"
#include "import/import_table_session.h"
#include "import/rova_inputs.h"
#include "import/slot_codes.h"
#include "platform/paths.h"

namespace norvalde::importing {
namespace {

// What a SOLUC row's DIA and HORA give its lesson: whether it holds one, the day as ROVA writes
// it, and the code of its slot.
struct LessonTime {
  bool lesson = false;
  std::string day;
  const std::string* slotCode = nullptr;  // in the SlotCodes, which outlive it
};

// The lesson times of SOLUC's rows, worked out once for each distinct pair of stored DIA and
// HORA bytes: every read of a field is made from its stored bytes, so rows that store the same
// bytes read the same, and a timetable of a million lessons has a few hundred such pairs. The
// pairs kept are bounded, so a table of ever new pairs costs time, never memory.
class LessonTimes {
 public:
  LessonTimes(tables::Table& soluc, tables::Table& diashorast, DayNumbering numbering)
      : soluc_(soluc),
        diashorast_(diashorast),
        numbering_(numbering),
        dia_(soluc.FindField("DIA")),
        hora_(soluc.FindField("HORA")) {}

  const LessonTime& OfCurrentRow() {
    key_.assign(soluc_.StoredBytes(dia_));
    key_.append(soluc_.StoredBytes(hora_));
    if (const auto known = times_.find(key_); known != times_.end()) return known->second;
    if (times_.size() < kMostKept) return times_.emplace(key_, WorkOut()).first->second;
    unkept_ = WorkOut();
    return unkept_;
  }

 private:
  static constexpr size_t kMostKept = 4096;

  // The reads a walk of the rows makes, in its order: DIA as an integer, then, for a lesson,
  // HORA and DIA as text and the slot of the two.
  LessonTime WorkOut() {
    if (soluc_.AsInteger(dia_) == 0) return {};  // a row without a lesson
    const std::string_view hora = soluc_.TextView(hora_, horaText_);
    LessonTime time{true, RovaDay(soluc_.AsText(dia_), numbering_)};
    // Built at the first lesson, where a walk of DIASHORAST would first read it, so a run
    // without lessons never depends on DIASHORAST's fields.
    if (!slots_) slots_.emplace(diashorast_);
    time.slotCode = &slots_->Find(time.day, hora);
    return time;
  }

  tables::Table& soluc_;
  tables::Table& diashorast_;
  const DayNumbering numbering_;
  const tables::FieldHandle dia_, hora_;
  std::optional<SlotCodes> slots_;
  struct StoredBytesHash {
    size_t operator()(const std::string& bytes) const { return exchange::HashBytes(bytes); }
  };
  std::unordered_map<std::string, LessonTime, StoredBytesHash> times_;
  std::string key_, horaText_;
  LessonTime unkept_;
};

// One lesson record per SOLUC row whose day is not 0, in stored order, each built in place in
// the output's buffer.
void AddLessons(tables::Table& soluc, tables::Table& diashorast, DayNumbering numbering,
                exchange::ExchangeFileWriter& output) {
  LessonTimes times(soluc, diashorast, numbering);
  const tables::FieldHandle prof = soluc.FindField("PROF"), codGrupo = soluc.FindField("CODGRUPO"),
                            asig = soluc.FindField("ASIG"), aula = soluc.FindField("AULA");
  // Each text is read as a view into the row where the table allows, else into its own string.
  std::string profText, codGrupoText, asigText, aulaText;
  for (soluc.First(); !soluc.AtEnd(); soluc.Next()) {
    const LessonTime& time = times.OfCurrentRow();
    if (!time.lesson) continue;
    const Lesson lesson{*time.slotCode,
                        time.day,
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
    // The two ROVA files and the six tables open one right after the other: one look at what
    // other processes hold open serves them all.
    std::optional<platform::OpenBurst> burst(std::in_place, env);
    const std::string centreCode = ReadCentreCode(env, context.carpeta);
    const DayNumbering numbering = ReadDayNumbering(env, context.carpeta);

    // `carpeta` already ends with a separator; the doubled one still names the chosen folder.
    // The lines go to a temporary file as they are made, and the file replaces an earlier one
    // only once complete, so an earlier file survives any failure up to the commit whole.
    exchange::ExchangeFileWriter output(
        env, context.carpeta + platform::kPathSeparator + kHorarioFileName);
    output.Add(HeaderRecord(centreCode, exchange::ExchangeTimeStamp(env)));

    ImportTableSession session(tables, context.workFolder);
    burst.reset();
    AddLessons(tables.wwTableSoluc, tables.wwTableTramos, numbering, output);
    session.Close();

    // The clock is read again: the trailer may be a minute later than the header.
    output.Add(TrailerRecord(centreCode, exchange::ExchangeTimeStamp(env), output.Count() - 1));

    output.Commit();
  });
}

}  // namespace norvalde::importing
