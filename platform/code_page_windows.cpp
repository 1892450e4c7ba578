// Code page conversion through the system's own tables: the text goes to UTF-16 from its code
// page and back to Windows-1252, a character Windows-1252 lacks becoming '?'.
#include "platform/windows_api.h"

#include <string>

#include "platform/code_page.h"

namespace norvalde::platform {

namespace {
constexpr UINT kWindows1252 = 1252;
}

std::string ToWindows1252(const std::string& text, int codePage) {
  if (codePage == static_cast<int>(kWindows1252) || text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const UINT from = static_cast<UINT>(codePage);
  const int wideLength = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  // A code page the system does not know: the bytes are kept as they are, as for 1252.
  if (wideLength == 0) return text;
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(from, 0, text.data(), size, wide.data(), wideLength);

  // No "best fit": a character without an exact Windows-1252 form must not turn into a
  // look-alike letter, it becomes the default '?'.
  const int length = WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         wideLength, nullptr, 0, "?", nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, result.data(),
                      length, "?", nullptr);
  return result;
}

}  // namespace norvalde::platform
