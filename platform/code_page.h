// Text conversions. Data stays Windows-1252 bytes; what the user reads is UTF-8.
#pragma once

#include <string>

namespace norvalde::platform {

// Windows-1252 bytes as UTF-8, for putting data into a message.
std::string Windows1252ToUtf8(const std::string& text);

// Bytes in the given Windows code page (437, 850, 1252, ...) as Windows-1252; a character
// that Windows-1252 lacks becomes '?'. Code page 1252 returns the text unchanged.
std::string ToWindows1252(const std::string& text, int codePage);

}  // namespace norvalde::platform
