// The run-time library's input/output error codes and texts, and the operating system's own
// description of an error.
#pragma once

#include <string>

namespace norvalde::platform {

// The run-time library's code for an operating-system error number: file not found -> 2,
// bad name -> 3, too many open files -> 4, access denied -> 5, disk full -> 101, any other
// number is kept as it is (on Windows the system's codes already are the library's codes).
int RuntimeErrorCode(int systemError);

// Whether the error refuses writing alone: access denied, or (POSIX) a read-only file
// system, or (Windows) a write-protected medium. A file refused so may still open for reading.
bool RefusesWriting(int systemError);

// The library's message for one of its codes: 2 "No se encuentra el archivo", ... and
// "Error de E/S %d" for a code it has no text for.
std::string InOutErrorMessage(int runtimeCode);

// The operating system's own description of an error number, in UTF-8, without a final
// line break.
std::string SystemErrorText(int systemError);

// The code the library uses for "read past the end of the file".
inline constexpr int kReadPastEnd = 100;

}  // namespace norvalde::platform
