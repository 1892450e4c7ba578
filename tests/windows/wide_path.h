// The system's own wide-character name for a UTF-8 path, for tests that call Windows directly.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef DeleteFile  // windows.h maps it to DeleteFileW; Env has a member of that name

#include <string>

namespace norvalde::testing {

inline std::wstring WidePath(const std::string& utf8) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      length);
  return wide;
}

}  // namespace norvalde::testing
