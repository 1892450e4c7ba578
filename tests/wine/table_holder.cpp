// Holds one file the way a Windows timetabler holds its table, until told to let go:
//   table_holder exclusive <file> <ready> <release>   open sharing nothing, no lock
//   table_holder locked    <file> <ready> <release>   open sharing all, LockFileEx the first
//                                                      record's bytes exclusively
// Once the file is held it creates <ready>; it lets go when <release> appears, or after a
// minute so that a test that died never leaves it behind. Exit status 0 when the file was
// held, 1 when it could not be.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fwprintf(stderr, L"usage: table_holder exclusive|locked <file> <ready> <release>\n");
    return 2;
  }
  const bool locked = std::wcscmp(argv[1], L"locked") == 0;
  const DWORD share = locked ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
  const HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fwprintf(stderr, L"table_holder: cannot open %ls (%lu)\n", argv[2], GetLastError());
    return 1;
  }
  if (locked) {
    // A dBASE program locks the record it edits: a short range inside the file.
    OVERLAPPED at{};
    at.Offset = 32;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 64, 0, &at)) {
      std::fwprintf(stderr, L"table_holder: cannot lock %ls (%lu)\n", argv[2], GetLastError());
      return 1;
    }
  }
  const HANDLE ready = CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(ready);
  for (int waited = 0; waited < 600 && !Exists(argv[4]); ++waited) Sleep(100);
  CloseHandle(file);
  return 0;
}
