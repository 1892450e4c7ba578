// The user's decimal separator, for numbers the table engine gives as text. Off Windows it is
// the separator of the locale that LC_ALL, LC_NUMERIC or LANG names (the first one set), read
// through ICU so that the locale need not be installed on the system; on Windows the one of
// the user's regional settings.
#pragma once

namespace norvalde::platform {

// One Windows-1252 byte: "," under a Spanish locale, "." under an English one or C/POSIX.
// A separator that is not a single Windows-1252 character gives ".". Read anew at each call,
// so a change of the user's settings counts from the next action on.
char UserDecimalSeparator();

}  // namespace norvalde::platform
