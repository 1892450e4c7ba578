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

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = Utf8ToWide(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && name != L"." &&
        name != L"..") {
      names.push_back(WideToUtf8(name));
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

}  // namespace norvalde::platform
