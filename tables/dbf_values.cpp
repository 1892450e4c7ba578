#include "tables/dbf_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace norvalde::tables {
namespace {

bool IsBlankByte(char c) { return c == ' ' || c == '\0'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankByte(text.back())) text.remove_suffix(1);
  return text;
}

bool AllZeroBytes(const char* bytes, int size) {
  for (int i = 0; i < size; ++i) {
    if (bytes[i] != '\0') return false;
  }
  return true;
}

uint64_t BigEndian(const char* bytes, int size) {
  uint64_t value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | static_cast<uint8_t>(bytes[i]);
  return value;
}

uint64_t LittleEndian(const char* bytes, int size) {
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[i]);
  return value;
}

double BitsToDouble(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

FieldValue Number(double value) { return {FieldValue::Kind::kNumber, {}, value}; }
FieldValue Text(std::string text) { return {FieldValue::Kind::kText, std::move(text), 0}; }
FieldValue Empty() { return {}; }

// Level 7 stores integers as value + 2^31, big-endian, so that bytes sort like numbers.
FieldValue Level7Integer(const char* bytes) {
  if (AllZeroBytes(bytes, 4)) return Empty();
  const auto stored = static_cast<uint32_t>(BigEndian(bytes, 4));
  return Number(static_cast<double>(static_cast<int64_t>(stored) - 0x80000000LL));
}

// Level 7 doubles are big-endian with the sign bit flipped for positives and every bit flipped
// for negatives, again so that bytes sort like numbers.
FieldValue Level7Double(const char* bytes) {
  if (AllZeroBytes(bytes, 8)) return Empty();
  uint64_t bits = BigEndian(bytes, 8);
  bits = (bits & 0x8000000000000000ULL) != 0 ? bits & 0x7FFFFFFFFFFFFFFFULL : ~bits;
  return Number(BitsToDouble(bits));
}

// Day number -> "YYYY-MM-DD" for a Julian day number (proleptic Gregorian calendar).
std::string JulianDayText(int64_t julianDay) {
  int64_t a = julianDay + 32044;
  int64_t b = (4 * a + 3) / 146097;
  int64_t c = a - 146097 * b / 4;
  int64_t d = (4 * c + 3) / 1461;
  int64_t e = c - 1461 * d / 4;
  int64_t m = (5 * e + 2) / 153;
  const int64_t day = e - (153 * m + 2) / 5 + 1;
  const int64_t month = m + 3 - 12 * (m / 10);
  const int64_t year = 100 * b + d - 4800 + m / 10;
  char text[80];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(year),
                static_cast<long long>(month), static_cast<long long>(day));
  return text;
}

std::string DateTimeText(int64_t julianDay, int64_t milliseconds) {
  if (milliseconds < 0 || milliseconds >= 86400000) milliseconds = 0;
  const int64_t seconds = milliseconds / 1000;
  char time[40];
  std::snprintf(time, sizeof time, " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return JulianDayText(julianDay) + time;
}

// Visual FoxPro: Julian day number, then milliseconds since midnight, both little-endian.
FieldValue FoxDateTime(const char* bytes) {
  if (AllZeroBytes(bytes, 8)) return Empty();
  const auto day = static_cast<int32_t>(LittleEndian(bytes, 4));
  const auto ms = static_cast<int32_t>(LittleEndian(bytes + 4, 4));
  if (day <= 0) return Empty();
  return Text(DateTimeText(day, ms));
}

// Level 7 timestamp as the BDE writes it: a big-endian double counting milliseconds from the
// day before 1 January 0001.
FieldValue Level7Timestamp(const char* bytes) {
  if (AllZeroBytes(bytes, 8)) return Empty();
  const double ms = BitsToDouble(BigEndian(bytes, 8));
  if (!std::isfinite(ms) || ms < 86400000.0 || ms > 4e14) return Empty();
  constexpr int64_t kJulianDayOfYearOne = 1721425;  // 1 January 0001 is day 1
  const auto whole = static_cast<int64_t>(ms);
  return Text(DateTimeText(kJulianDayOfYearOne + whole / 86400000, whole % 86400000));
}

FieldValue NumberText(std::string_view bytes) {
  double value = 0;
  bool empty = false;
  if (!ParseNumberText(bytes, value, empty)) {
    return {FieldValue::Kind::kInvalid, std::string(Trimmed(bytes)), 0};
  }
  return empty ? Empty() : Number(value);
}

FieldValue TrimmedText(std::string_view bytes) {
  bytes = WithoutTrailingBlanks(bytes);
  return bytes.empty() ? Empty() : Text(std::string(bytes));
}

// A varchar's bytes: as many as its last byte says when its bit in _NullFlags is set (the
// value is shorter than the field), else the whole field.
std::string_view VarLengthValue(const DbfField& field, const char* record) {
  const std::string_view raw(record + field.offset, field.length);
  if (field.varLengthByte < 0 ||
      (static_cast<uint8_t>(record[field.varLengthByte]) & field.varLengthMask) == 0) {
    return raw;
  }
  const size_t length = static_cast<uint8_t>(raw.back());
  return raw.substr(0, std::min(length, raw.size() - 1));
}

FieldValue Logical(char flag) {
  if (std::strchr("TtYy", flag) != nullptr && flag != '\0') return Text("T");
  if (std::strchr("FfNn", flag) != nullptr && flag != '\0') return Text("F");
  return Empty();
}

// Memo fields hold a block number: ASCII digits, or 4 little-endian bytes in Visual FoxPro.
FieldValue MemoReference(const char* bytes, int length) {
  if (length == 4) {
    const auto block = static_cast<uint32_t>(LittleEndian(bytes, 4));
    return block == 0 ? Empty() : Text(std::to_string(block));
  }
  return TrimmedText(Trimmed(std::string_view(bytes, length)));
}

}  // namespace

std::string_view WithoutTrailingBlanks(std::string_view bytes) {
  while (!bytes.empty() && IsBlankByte(bytes.back())) bytes.remove_suffix(1);
  return bytes;
}

FieldValue DecodeField(const DbfField& field, DbfFamily family, const char* record) {
  const char* bytes = record + field.offset;
  const std::string_view raw(bytes, field.length);
  const bool level7 = family == DbfFamily::kDbaseLevel7;
  switch (field.type) {
    case 'N':
    case 'F':
      return NumberText(raw);
    case 'I':
    case '+':
      if (level7) return Level7Integer(bytes);
      return Number(static_cast<int32_t>(LittleEndian(bytes, 4)));
    case 'O':
      return level7 ? Level7Double(bytes) : Number(BitsToDouble(LittleEndian(bytes, 8)));
    case 'Y':
      return Number(static_cast<double>(static_cast<int64_t>(LittleEndian(bytes, 8))) / 10000.0);
    case 'B':
      if (family == DbfFamily::kVisualFoxPro) return Number(BitsToDouble(LittleEndian(bytes, 8)));
      return MemoReference(bytes, field.length);
    case 'T':
      return FoxDateTime(bytes);
    case '@':
      return Level7Timestamp(bytes);
    case 'L':
      return Logical(bytes[0]);
    case 'D': {
      const std::string_view date = Trimmed(raw);
      if (date.empty() || date == "00000000") return Empty();
      return Text(std::string(date));
    }
    case 'M':
    case 'G':
    case 'P':
      return MemoReference(bytes, field.length);
    case 'V':
    case 'Q':
      return TrimmedText(VarLengthValue(field, record));
    default:  // C and the binary kinds: the bytes without the blanks that fill the width
      return TrimmedText(raw);
  }
}

namespace {

// Plain decimal text ("-12", "2.990000") with at most 15 significant digits: its digits as a
// whole number divided by a power of ten. Both are exact doubles, so the quotient is the
// correctly rounded value, the one from_chars gives, at a fraction of the cost.
bool ParsePlainDecimal(std::string_view text, double& value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  int64_t digits = 0;
  int significant = 0;
  size_t decimals = 0;
  bool point = false;
  bool anyDigit = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == ',') {
      if (point) return false;
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    anyDigit = true;
    if (digits != 0 || c != '0') ++significant;
    if (significant > 15) return false;
    digits = digits * 10 + (c - '0');
    if (point) ++decimals;
  }
  if (!anyDigit || decimals >= std::size(kPowersOfTen)) return false;
  value = static_cast<double>(digits) / kPowersOfTen[decimals];
  if (negative) value = -value;
  return true;
}

}  // namespace

bool ParseNumberText(std::string_view text, double& value, bool& empty) {
  text = Trimmed(text);
  empty = text.empty() || text.find_first_not_of('*') == std::string_view::npos ||
          text.find_first_not_of('-') == std::string_view::npos;
  value = 0;
  if (empty || ParsePlainDecimal(text, value)) return true;
  char buffer[64];
  if (text.size() >= sizeof buffer) return false;
  size_t size = 0;
  for (char c : text) buffer[size++] = c == ',' ? '.' : c;
  const char* begin = buffer;
  if (*begin == '+') ++begin;
  // from_chars reads the number the same way whatever the process locale says.
  const auto [end, error] = std::from_chars(begin, buffer + size, value);
  return error == std::errc() && end == buffer + size && std::isfinite(value);
}

bool RoundHalfEven(double value, int32_t& result) {
  if (!std::isfinite(value)) return false;
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return false;
  result = static_cast<int32_t>(rounded);
  return true;
}

bool ParseWholeNumber(std::string_view text, int32_t& result) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace norvalde::tables
