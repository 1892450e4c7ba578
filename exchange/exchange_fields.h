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

// ColumnText with every leading and trailing byte 0x00-0x20 removed.
std::string FieldText(std::string_view line, int first, int last);
// The same, as a view into `line`.
std::string_view FieldView(std::string_view line, int first, int last);

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
