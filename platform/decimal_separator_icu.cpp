// The decimal separator off Windows: ICU's number symbols for the locale of LC_NUMERIC.
#include <unicode/unum.h>

#include "platform/decimal_separator.h"
#include "platform/icu_locale.h"
#include "platform/windows_1252.h"

namespace norvalde::platform {

char UserDecimalSeparator() {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(UNUM_DECIMAL, nullptr, 0,
                                    IcuLocaleFromEnvironment("LC_NUMERIC").c_str(), nullptr,
                                    &status);
  if (U_FAILURE(status)) return '.';
  UChar symbol[4];
  const int32_t length = unum_getSymbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol,
                                        sizeof symbol / sizeof symbol[0], &status);
  unum_close(format);
  char byte = '.';
  if (U_FAILURE(status) || length != 1 || !Windows1252Byte(symbol[0], byte)) return '.';
  return byte;
}

}  // namespace norvalde::platform
