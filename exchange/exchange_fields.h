// Operations on single exchange lines and values: fields, raw columns, the record-type and
// header-guard test, fixed-width writing and the time stamp. Lines are Windows-1252 bytes.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace norvalde::exchange {

// Guard names: a detail line whose columns 2-51, upper-cased, equal the guard is skipped.
inline constexpr std::string_view kGuardAsignat = "ROVA_ASIGNAT.TXT";
inline constexpr std::string_view kGuardProf = "ROVA_PROF.TXT";
inline constexpr std::string_view kGuardAulas = "ROVA_AULAS.TXT";
inline constexpr std::string_view kGuardGrupo = "ROVA_GRUPOS.TXT";  // with an S, on purpose
inline constexpr std::string_view kGuardAsignatGrupo = "ROVA_ASIGNATGRUPO.TXT";
inline constexpr std::string_view kGuardAsignatCurso = "ROVA_ASIGNATCURSO.TXT";
inline constexpr std::string_view kGuardSesiones = "ROVA_SESIONES.TXT";

// Bytes at 1-based columns first..last (fewer when the line ends earlier), untrimmed.
std::string ColumnText(std::string_view line, int first, int last);
// The same, as a view into `line`.
inline std::string_view ColumnView(std::string_view line, int first, int last) {
  const size_t begin = static_cast<size_t>(first < 1 ? 1 : first) - 1;  // 0-based
  if (last < first || last < 1 || begin >= line.size()) return {};
  return line.substr(begin, static_cast<size_t>(last) - begin);
}

// ColumnText with every leading and trailing byte 0x00-0x20 removed.
std::string FieldText(std::string_view line, int first, int last);
// The same, as a view into `line`. Here, not in a source file of its own: it runs several times
// on every line of the largest files, where a call costs about as much as the work.
inline std::string_view FieldView(std::string_view line, int first, int last) {
  std::string_view column = ColumnView(line, first, last);
  while (!column.empty() && static_cast<unsigned char>(column.front()) <= 0x20) {
    column.remove_prefix(1);
  }
  while (!column.empty() && static_cast<unsigned char>(column.back()) <= 0x20) {
    column.remove_suffix(1);
  }
  return column;
}

// Only the bytes a-z raised to A-Z; every other byte unchanged.
std::string UpperCaseAscii(std::string_view text);

// True when the record type (column 1) is neither "0" nor "9" and columns 2-51, trimmed and
// upper-cased, differ from `guardName`.
bool IsDetailLine(std::string_view line, std::string_view guardName);

// `value` followed by spaces up to `width`; a longer value is returned whole, never cut.
std::string FillToWidth(std::string_view value, int width);

// The local date and time now, as the 12 digits "ddmmyyyyhhnn".
std::string ExchangeTimeStamp(platform::Env& env);

}  // namespace norvalde::exchange
