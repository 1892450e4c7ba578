// Day and time slots (rova_sesiones.txt -> DIASHORAST). Pass 1 appends one row per detail line
// and collects the start times of the week; pass 2, once all are known, numbers each row's
// period by the rank of its start time and builds the slot key DIHO (day, then period).
#include <cstdint>
#include <string>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_line_list.h"
#include "export/code_lists.h"
#include "export/export.h"
#include "export/input_files.h"
#include "platform/env.h"
#include "export/number_conversions.h"
#include "tables/table.h"
#include "export/work_table_recreation.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {
namespace {

using exchange::FieldText;

// Times are written as hhmm ("0830" is 830). Wide enough that no 32-bit input overflows.
int64_t MinutesOfDay(int32_t hhmm) { return int64_t{hhmm} / 100 * 60 + hhmm % 100; }

void AppendSlots(const exchange::ExchangeLineList& lines, StartTimeList& startTimes,
                 tables::Table& table) {
  const tables::FieldHandle dia = table.FindField("DIA"), hora = table.FindField("HORA"),
                            coddiho = table.FindField("CODDIHO"),
                            horaDesde = table.FindField("HORADESDE"),
                            horaHasta = table.FindField("HORAHASTA"),
                            minutos = table.FindField("MINUTOS");
  for (int index = 0; index < lines.Count(); ++index) {
    const std::string_view line = lines.Line(index);
    if (!exchange::IsDetailLine(line, exchange::kGuardSesiones)) continue;
    const std::string code = FieldText(line, 5, 8);
    const std::string day = FieldText(line, 9, 9);
    const std::string start = FieldText(line, 10, 13);
    const std::string end = FieldText(line, 14, 17);
    startTimes.Add(start);
    // The end time first: when both are bad, the message names the end time.
    const int64_t endMinutes = MinutesOfDay(WholeNumberFromText(end));
    const int64_t startMinutes = MinutesOfDay(WholeNumberFromText(start));
    table.Append();
    table.SetText(dia, day);
    table.SetText(hora, start);  // numbered in pass 2
    table.SetText(coddiho, code);
    table.SetText(horaDesde, start);
    table.SetText(horaHasta, end);
    table.SetText(minutos, std::to_string(endMinutes - startMinutes));
    table.Post();
  }
}

// The period numbers run over the whole week: a start time has the same number on every day.
void NumberPeriods(const StartTimeList& startTimes, tables::Table& table) {
  const tables::FieldHandle horaDesde = table.FindField("HORADESDE"),
                            hora = table.FindField("HORA"), diho = table.FindField("DIHO"),
                            dia = table.FindField("DIA");
  for (table.First(); !table.AtEnd(); table.Next()) {
    const int period = startTimes.Position(table.AsText(horaDesde)) + 1;
    table.Edit();
    table.SetText(hora, std::to_string(period));
    table.SetText(diho, table.AsText(dia) + table.AsText(hora));
    table.Post();
  }
}

}  // namespace

void ExportarTramos(const ExportContext& context) {
  const std::optional<std::string> path = FindInputFile(
      context, "rova_sesiones.txt", "No existe archivo de grupos (ROVA_SESIONES.TXT)");
  if (!path) return;
  exchange::ExchangeLineList lines(context.env);
  tables::Table table(context.env);
  {
    // The input and the old table open one right after the other: one look at what other
    // processes hold open serves both.
    platform::OpenBurst burst(context.env);
    lines.LoadFromFile(*path);  // before the old table is touched, so a failure leaves it intact
    RecreateWorkTable(context.kept, tables::DiashorastTable(), table);
  }
  StartTimeList startTimes(context.collation);
  AppendSlots(lines, startTimes, table);
  NumberPeriods(startTimes, table);
  table.Close();
}

}  // namespace norvalde::exporting
