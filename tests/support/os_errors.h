// The error numbers Env returns on this system for the conditions tests provoke, so one test
// can hold on Windows (GetLastError codes) and elsewhere (errno values).
#pragma once

#ifndef _WIN32
#include <cerrno>
#endif

namespace norvalde::testing {

#ifdef _WIN32
inline constexpr int kErrorFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr int kErrorPathNotFound = 3;   // ERROR_PATH_NOT_FOUND: a folder is missing
inline constexpr int kErrorAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr int kErrorFolderAsFile = 5;   // a folder opened as a file
inline constexpr int kErrorFileInUse = 32;     // ERROR_SHARING_VIOLATION
inline constexpr int kErrorDeviceFault = 1117; // ERROR_IO_DEVICE
#else
inline constexpr int kErrorFileNotFound = ENOENT;
inline constexpr int kErrorPathNotFound = ENOENT;
inline constexpr int kErrorAccessDenied = EACCES;
inline constexpr int kErrorFolderAsFile = EISDIR;
inline constexpr int kErrorFileInUse = EWOULDBLOCK;  // a refused lock
inline constexpr int kErrorDeviceFault = EIO;
#endif

}  // namespace norvalde::testing
