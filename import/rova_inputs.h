// The two values the Import takes from the ROVA files of the chosen folder before it touches
// any table: the centre code and how days are numbered.
#pragma once

#include <string>

#include "platform/env.h"

namespace norvalde::importing {

// How ROVA names the days of the week in this school's slots file.
enum class DayNumbering {
  kDigits,   // "1".."7": SOLUC's day numbers are written as they are
  kLetters,  // "L".."D": SOLUC's day numbers 1..7 are written as letters
};

// Raw columns 52-59 of the first line of `carpeta` + "rova_asignat.txt" whose record type is
// "0", untrimmed (fewer bytes when that line is shorter); empty when no line has that type.
// Fails with the line list's "Cannot open file ..." error.
std::string ReadCentreCode(platform::Env& env, const std::string& carpeta);

// Digits when raw column 9 of the second line of `carpeta` + "rova_sesiones.txt" is one of
// "1" to "7", whatever that line's record type; letters otherwise. Fails with "Cannot open
// file ..." or, for a file of fewer than two lines, "List index out of bounds (1)".
DayNumbering ReadDayNumbering(platform::Env& env, const std::string& carpeta);

}  // namespace norvalde::importing
