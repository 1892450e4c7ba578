// The code comparison off Windows, as CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE)
// gives it on Windows: case is ignored and every other difference counts.
#pragma once

#include <string_view>

namespace norvalde::platform {

// Compares Windows-1252 bytes under the collation of the user's locale (LC_ALL, LC_COLLATE,
// LANG; the root collation for C/POSIX) with case ignored. Result < 0, 0 or > 0.
//
// Windows' own rules that ICU lacks are applied around it: the ligatures Œ, Æ and Þ equal OE,
// AE and TH, and the apostrophe, hyphen and both dashes weigh nothing until two texts are
// otherwise equal, when the one whose first such mark stands earlier is the greater ("co-op"
// after "coop", "a-bc" after "ab-c").
int CompareCodesByLocale(std::string_view a, std::string_view b);

}  // namespace norvalde::platform
