// Path spelling shared by every subsystem: the separator, joining, and the fixed work folder.
#pragma once

#include <string>
#include <string_view>

namespace norvalde::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `folder` followed by one separator unless it already ends with one, then `name`.
std::string JoinPath(const std::string& folder, const std::string& name);

// Names as files and fields are found: ASCII letters ignoring case, every other byte as is.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The work folder that Plantivo and Norvalde share: C:\QTEMP on Windows; elsewhere the QTEMP
// folder (found ignoring case, "QTEMP" when absent) inside drive_c of the Wine prefix
// ($WINEPREFIX, or ~/.wine when unset). Never created here.
std::string WorkFolder();

}  // namespace norvalde::platform
