#include "platform/paths.h"

#include <cstdlib>

#include "platform/env.h"

namespace norvalde::platform {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

#ifdef _WIN32

std::string WorkFolder() { return "C:\\QTEMP"; }

#else

namespace {

// Drive C: of the Wine prefix, where a Windows timetabling program running under Wine keeps
// its C:\QTEMP.
std::string WineDriveC() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return JoinPath(prefix, "drive_c");
  const char* home = std::getenv("HOME");
  return JoinPath(JoinPath(home && *home ? home : "/", ".wine"), "drive_c");
}

}  // namespace

std::string WorkFolder() {
  return Env::Default().FindFileIgnoringCase(JoinPath(WineDriveC(), "QTEMP"));
}

#endif

}  // namespace norvalde::platform
