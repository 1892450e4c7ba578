#include "platform/windows_api.h"

#include "platform/current_folder.h"
#include "platform/wide_text.h"

namespace norvalde::platform {

int ChangeCurrentFolder(const std::string& path) {
  if (SetCurrentDirectoryW(Utf8ToWide(path).c_str())) return 0;
  return static_cast<int>(GetLastError());
}

std::string CurrentFolder() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return "";
  std::wstring folder(length, L'\0');
  folder.resize(GetCurrentDirectoryW(length, folder.data()));
  // The system's separators are the native spelling; a forward slash is never one of them.
  for (wchar_t& c : folder) {
    if (c == L'/') c = L'\\';
  }
  return WideToUtf8(folder);
}

}  // namespace norvalde::platform
