// UTF-8 and the UTF-16 of the Windows "W" calls. Windows only.
#pragma once

#include <string>

namespace norvalde::platform {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace norvalde::platform
