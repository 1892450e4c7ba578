#include "import/rova_inputs.h"

#include "exchange/exchange_fields.h"
#include "exchange/exchange_line_list.h"

namespace norvalde::importing {
namespace {

// Exactly the lower-case name: a file whose name differs in case is another file, even where
// the Export would take it.
exchange::ExchangeLineList LoadFromCarpeta(platform::Env& env, const std::string& carpeta,
                                           const std::string& name) {
  exchange::ExchangeLineList lines(env);
  lines.LoadFromFile(carpeta + name);
  return lines;
}

}  // namespace

std::string ReadCentreCode(platform::Env& env, const std::string& carpeta) {
  const exchange::ExchangeLineList lines = LoadFromCarpeta(env, carpeta, "rova_asignat.txt");
  // Only the record type decides: the header guard plays no part, and a later header line
  // with another code is never looked at.
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Line(i);
    if (exchange::ColumnText(line, 1, 1) == "0") return exchange::ColumnText(line, 52, 59);
  }
  return {};
}

DayNumbering ReadDayNumbering(platform::Env& env, const std::string& carpeta) {
  const exchange::ExchangeLineList lines = LoadFromCarpeta(env, carpeta, "rova_sesiones.txt");
  // The second line is normally the first slot; its day column shows the school's style.
  const std::string day = exchange::ColumnText(lines.Line(1), 9, 9);
  const bool digit = day.size() == 1 && day[0] >= '1' && day[0] <= '7';
  return digit ? DayNumbering::kDigits : DayNumbering::kLetters;
}

}  // namespace norvalde::importing
