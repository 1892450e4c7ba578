// The ICU locale the environment names for one category of the C library's locale.
#pragma once

#include <string>

namespace norvalde::platform {

// The first of LC_ALL, `category` (such as "LC_COLLATE") and LANG that is set and not empty,
// without its charset and modifier ("es_ES.UTF-8@euro" gives "es_ES"); "" (ICU's root
// locale) for C, POSIX or none.
std::string IcuLocaleFromEnvironment(const char* category);

}  // namespace norvalde::platform
