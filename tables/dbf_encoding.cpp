// Writing values into the fields of a record, and the one number format of the engine.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "tables/dbf_values.h"

namespace norvalde::tables {

namespace {

// Whole numbers below 10^15 print as their digits in the general format, so they skip it.
bool IsSmallWholeNumber(double value) {
  return std::fabs(value) < 1e15 && value == std::trunc(value);
}

}  // namespace

std::string FormatNumber(double value, char decimalSeparator) {
  if (value == 0) return "0";  // also for -0
  if (IsSmallWholeNumber(value)) return std::to_string(static_cast<int64_t>(value));
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
  std::replace(text, result.ptr, '.', decimalSeparator);
  return std::string(text, result.ptr);
}

// Byte by byte: the fields are a few bytes wide, and calls to copy and fill them would cost
// more than the bytes.
void EncodeText(const DbfField& field, std::string_view text, char* bytes) {
  const size_t width = static_cast<size_t>(field.length);
  const size_t kept = std::min(text.size(), width);
  for (size_t i = 0; i < width; ++i) bytes[i] = i < kept ? text[i] : ' ';
}

bool EncodeNumber(const DbfField& field, double value, char* bytes) {
  if (!std::isfinite(value)) return false;
  char text[400];
  size_t size = 0;
  if (IsSmallWholeNumber(value) && field.decimals < 300) {
    size = std::to_chars(text, text + 32, static_cast<int64_t>(value)).ptr - text;
    if (field.decimals > 0) {
      text[size++] = '.';
      std::memset(text + size, '0', field.decimals);
      size += field.decimals;
    }
  } else {
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      field.decimals);
    if (result.ec != std::errc()) return false;
    size = result.ptr - text;
  }
  // A value that rounds to zero is written without a sign.
  if (text[0] == '-' && std::string_view(text + 1, size - 1).find_first_not_of("0.") ==
                            std::string_view::npos) {
    std::memmove(text, text + 1, --size);
  }
  if (size > static_cast<size_t>(field.length)) return false;
  std::memset(bytes, ' ', field.length - size);
  std::memcpy(bytes + field.length - size, text, size);
  return true;
}

void EncodeEmpty(const DbfField& field, char* bytes) { std::memset(bytes, ' ', field.length); }

}  // namespace norvalde::tables
