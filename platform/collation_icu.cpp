// The code comparison off Windows: an ICU collator for the user's locale (the root collation
// for the C/POSIX locale) that ignores case only.
#include <unicode/ucol.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/collation.h"
#include "platform/windows_1252.h"

namespace norvalde::platform {

namespace {

// The ICU locale for collation, from the variables that set LC_COLLATE. The C/POSIX locale
// gets the root collation, because ICU's POSIX tailoring orders upper case apart.
std::string CollationLocale() {
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    value = std::getenv(name);
    if (value && *value) break;
    value = nullptr;
  }
  std::string locale = value ? value : "";
  locale = locale.substr(0, locale.find_first_of(".@"));  // drop the charset and modifier
  if (locale.empty() || locale == "C" || locale == "POSIX") return "";
  return locale;
}

class IcuCollation : public Collation {
 public:
  ~IcuCollation() override {
    if (collator_) ucol_close(collator_);
  }

  int CompareCodes(const std::string& a, const std::string& b) override {
    UCollator* collator = Collator();
    const std::u16string x = Windows1252ToUtf16(a);
    const std::u16string y = Windows1252ToUtf16(b);
    if (!collator) return x.compare(y);
    switch (ucol_strcoll(collator, x.data(), static_cast<int32_t>(x.size()), y.data(),
                         static_cast<int32_t>(y.size()))) {
      case UCOL_LESS: return -1;
      case UCOL_GREATER: return 1;
      default: return 0;
    }
  }

 private:
  // Opened on the first comparison: most runs never compare codes.
  UCollator* Collator() {
    std::call_once(collatorOnce_, [this] {
      UErrorCode status = U_ZERO_ERROR;
      collator_ = ucol_open(CollationLocale().c_str(), &status);
      if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
      }
      if (collator_) ucol_setStrength(collator_, UCOL_SECONDARY);
    });
    return collator_;
  }

  std::once_flag collatorOnce_;
  UCollator* collator_ = nullptr;
};

}  // namespace

Collation& Collation::Default() {
  static IcuCollation collation;
  return collation;
}

}  // namespace norvalde::platform
