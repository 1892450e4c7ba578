#include "export/number_conversions.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <system_error>

#include "core/error.h"
#include "platform/code_page.h"

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

// The power of ten of the first significant digit of text of the float form ("0.05" gives -2,
// "120" gives 2, "1e-400" gives -400), saturated far beyond any double's range. Text of zeros
// only gives 0.
long long LeadingPowerOfTen(std::string_view text) {
  constexpr long long kFar = 1'000'000'000;
  size_t at = 0;
  SkipSign(text, at);
  long long power = 0;
  bool significant = false;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (significant) ++power;
    else if (text[at] != '0') significant = true;
  }
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at) {
      if (!significant) {
        --power;
        if (text[at] != '0') significant = true;
      }
    }
  }
  if (!significant) return 0;
  if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
    ++at;
    const bool negative = at < text.size() && text[at] == '-';
    SkipSign(text, at);
    long long exponent = 0;
    for (; at < text.size(); ++at) exponent = std::min(kFar, exponent * 10 + (text[at] - '0'));
    power += negative ? -exponent : exponent;
  }
  return power;
}

// std::from_chars takes no "+" sign; "-" it takes itself.
std::string_view WithoutPlus(std::string_view text) {
  return !text.empty() && text.front() == '+' ? text.substr(1) : text;
}

}  // namespace

double FloatFromText(const std::string& text) {
  const std::string_view digits = WithoutPlus(text);
  double value = 0;
  // from_chars never looks at the locale. A value too large for a double is refused rather
  // than stored as infinity; one too small for it is the nearest double, zero.
  if (IsFloatSyntax(text)) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) return value;
    // Out of range while the value is below 1: it can only be too small, never too large.
    if (error == std::errc::result_out_of_range && LeadingPowerOfTen(text) < 0) return 0;
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
