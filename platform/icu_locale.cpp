#include "platform/icu_locale.h"

#include <cstdlib>

namespace norvalde::platform {

std::string IcuLocaleFromEnvironment(const char* category) {
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    value = std::getenv(name);
    if (value && *value) break;
    value = nullptr;
  }
  std::string locale = value ? value : "";
  locale = locale.substr(0, locale.find_first_of(".@"));  // drop the charset and modifier
  if (locale == "C" || locale == "POSIX") return "";
  return locale;
}

}  // namespace norvalde::platform
