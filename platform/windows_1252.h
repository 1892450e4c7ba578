// The Windows-1252 code page as Unicode, for the seams that hand text to a Unicode library
// (collation, code page conversion).
#pragma once

#include <string>
#include <string_view>

namespace norvalde::platform {

// The Unicode code point of one Windows-1252 byte.
char16_t Windows1252CodePoint(unsigned char byte);

// The Windows-1252 byte of a Unicode code point; false when Windows-1252 has none.
bool Windows1252Byte(char16_t codePoint, char& byte);

// Windows-1252 bytes as UTF-16, one code unit per byte.
std::u16string Windows1252ToUtf16(std::string_view text);

}  // namespace norvalde::platform
