// The decimal separator on Windows: the user's regional settings.
#include "platform/windows_api.h"

#include "platform/decimal_separator.h"
#include "platform/windows_1252.h"

namespace norvalde::platform {

char UserDecimalSeparator() {
  wchar_t separator[4] = {};
  // The length counts the final NUL: 2 is one character.
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
  char byte = '.';
  if (length != 2 || !Windows1252Byte(static_cast<char16_t>(separator[0]), byte)) return '.';
  return byte;
}

}  // namespace norvalde::platform
