// The run-time library's input/output error codes and texts, and the operating system's own
// description of an error.
#pragma once

#include <string>

namespace norvalde::platform {

// The run-time library's codes. For file errors they are the Windows error numbers, so
// these keep the Windows names; the library adds a few of its own.
namespace runtime_code {
inline constexpr int kFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr int kPathNotFound = 3;          // ERROR_PATH_NOT_FOUND, also a bad name
inline constexpr int kTooManyOpenFiles = 4;      // ERROR_TOO_MANY_OPEN_FILES
inline constexpr int kAccessDenied = 5;          // ERROR_ACCESS_DENIED
inline constexpr int kSharingViolation = 32;     // ERROR_SHARING_VIOLATION: the file is held
inline constexpr int kLockViolation = 33;        // ERROR_LOCK_VIOLATION: a region is locked
inline constexpr int kFileExists = 80;           // ERROR_FILE_EXISTS
inline constexpr int kHandleDiskFull = 39;       // ERROR_HANDLE_DISK_FULL
inline constexpr int kReadPastEnd = 100;         // the library's "read past the end"
inline constexpr int kDiskFull = 101;            // the library's "disk full" on writing
inline constexpr int kInvalidNumericInput = 106; // the library's "invalid numeric input"
inline constexpr int kSystemDiskFull = 112;      // ERROR_DISK_FULL
inline constexpr int kDeviceFault = 1117;        // ERROR_IO_DEVICE
}  // namespace runtime_code

// The run-time library's code for an operating-system error number: file not found ->
// kFileNotFound, bad name -> kPathNotFound, too many open files -> kTooManyOpenFiles, access
// denied -> kAccessDenied, disk full -> kDiskFull, any other number is kept as it is (on
// Windows the system's codes already are the library's codes).
int RuntimeErrorCode(int systemError);

// Whether the error refuses writing alone: access denied, or (POSIX) a read-only file
// system, or (Windows) a write-protected medium. A file refused so may still open for reading.
bool RefusesWriting(int systemError);

// Whether the error says that a name is taken already: a folder made or a file moved where
// something (a file, a folder, a link) has that name.
bool NameTaken(int systemError);

// The library's message for one of its codes: kFileNotFound "No se encuentra el archivo", ...
// and "Error de E/S %d" for a code it has no text for.
std::string InOutErrorMessage(int runtimeCode);

// The operating system's own description of an error number, in UTF-8, without a final
// line break.
std::string SystemErrorText(int systemError);

// The code the library uses for "read past the end of the file".
inline constexpr int kReadPastEnd = runtime_code::kReadPastEnd;

}  // namespace norvalde::platform
