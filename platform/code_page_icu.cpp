// Code page conversion through ICU's converters.
#include <unicode/ucnv.h>

#include <memory>
#include <string>

#include "platform/code_page.h"

namespace norvalde::platform {

namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU knows the Windows code pages as "windows-N" and the DOS ones as "ibm-N"; "cpN" covers
// the remaining aliases.
Converter OpenCodePage(int codePage) {
  const std::string number = std::to_string(codePage);
  for (const std::string& name : {"windows-" + number, "ibm-" + number, "cp" + number}) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.c_str(), &status));
    if (U_SUCCESS(status) && converter) return converter;
  }
  return nullptr;
}

}  // namespace

std::string ToWindows1252(const std::string& text, int codePage) {
  if (codePage == 1252 || text.empty()) return text;
  Converter source = OpenCodePage(codePage);
  if (!source) return text;  // an unknown code page: the bytes are taken as Windows-1252

  UErrorCode status = U_ZERO_ERROR;
  std::u16string unicode(text.size() * 2 + 1, u'\0');
  int32_t unicodeLength =
      ucnv_toUChars(source.get(), unicode.data(), static_cast<int32_t>(unicode.size()),
                    text.data(), static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return text;

  Converter target = OpenCodePage(1252);
  if (!target) return text;
  // ICU's own substitute for this code page is Ctrl-Z; a missing character reads better as '?'.
  status = U_ZERO_ERROR;
  ucnv_setSubstChars(target.get(), "?", 1, &status);
  std::string out(static_cast<size_t>(unicodeLength) * 2 + 1, '\0');
  status = U_ZERO_ERROR;
  int32_t outLength = ucnv_fromUChars(target.get(), out.data(), static_cast<int32_t>(out.size()),
                                      unicode.data(), unicodeLength, &status);
  if (U_FAILURE(status)) return text;
  out.resize(static_cast<size_t>(outLength));
  return out;
}

}  // namespace norvalde::platform
