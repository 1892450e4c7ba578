#include "export/number_conversions.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "platform/code_page.h"
#include "platform/error.h"

namespace norvalde::exporting {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Moves `at` past a run of digits; false when there is none.
bool SkipDigits(std::string_view text, size_t& at) {
  const size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at > start;
}

bool SkipSign(std::string_view text, size_t& at) {
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    ++at;
    return true;
  }
  return false;
}

bool IsFloatSyntax(std::string_view text) {
  size_t at = 0;
  SkipSign(text, at);
  if (!SkipDigits(text, at)) return false;
  if (at < text.size() && text[at] == '.') {
    ++at;
    if (!SkipDigits(text, at)) return false;
  }
  if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
    ++at;
    SkipSign(text, at);
    if (!SkipDigits(text, at)) return false;
  }
  return at == text.size();
}

// std::from_chars takes no "+" sign; "-" it takes itself.
std::string_view WithoutPlus(std::string_view text) {
  return !text.empty() && text.front() == '+' ? text.substr(1) : text;
}

}  // namespace

double FloatFromText(const std::string& text) {
  const std::string_view digits = WithoutPlus(text);
  double value = 0;
  // from_chars never looks at the locale; a value too large or too small for a double is
  // refused rather than stored as infinity or silently as zero.
  if (IsFloatSyntax(text)) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) return value;
  }
  throw Error("'" + platform::Windows1252ToUtf8(text) + "' no es un valor punto flotante válido");
}

int32_t WholeNumberFromText(const std::string& text) {
  const std::string_view digits = WithoutPlus(text);
  size_t at = 0;
  SkipSign(text, at);
  const bool syntax = SkipDigits(text, at) && at == text.size();
  int32_t value = 0;
  if (syntax) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) return value;
  }
  throw Error("'" + platform::Windows1252ToUtf8(text) + "' no es un valor entero válido");
}

}  // namespace norvalde::exporting
