// Numbers written as text in the ROVA files. Both read the same way whatever the regional
// settings of the system, and put the offending text (as UTF-8) into their message.
#pragma once

#include <cstdint>
#include <string>

namespace norvalde::exporting {

// An optional "+" or "-", digits, optionally "." and more digits, optionally "E" or "e" with
// an optional sign and digits, and nothing else: "2.5" gives 2.5. A value below the smallest
// double ("1e-400") gives 0. Any other text, or a value too large for a double, fails with
// "'<text>' no es un valor punto flotante válido".
double FloatFromText(const std::string& text);

// An optional sign and decimal digits within the signed 32-bit range; anything else, the empty
// text included, fails with "'<text>' no es un valor entero válido".
int32_t WholeNumberFromText(const std::string& text);

}  // namespace norvalde::exporting
