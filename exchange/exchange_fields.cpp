#include "exchange/exchange_fields.h"

#include <algorithm>
#include <cstdio>

namespace norvalde::exchange {

std::string ColumnText(std::string_view line, int first, int last) {
  const size_t begin = static_cast<size_t>(std::max(first, 1)) - 1;  // 0-based
  if (last < first || last < 1 || begin >= line.size()) return {};
  return std::string(line.substr(begin, static_cast<size_t>(last) - begin));
}

std::string FieldText(std::string_view line, int first, int last) {
  const std::string column = ColumnText(line, first, last);
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  auto begin = std::find_if_not(column.begin(), column.end(), isBlank);
  auto end = std::find_if_not(column.rbegin(), column.rend(), isBlank).base();
  return begin < end ? std::string(begin, end) : std::string();
}

std::string UpperCaseAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsDetailLine(std::string_view line, std::string_view guardName) {
  const std::string recordType = ColumnText(line, 1, 1);
  if (recordType == "0" || recordType == "9") return false;
  return UpperCaseAscii(FieldText(line, 2, 51)) != guardName;
}

std::string FillToWidth(std::string_view value, int width) {
  std::string out(value);
  if (width > 0 && out.size() < static_cast<size_t>(width)) {
    out.resize(static_cast<size_t>(width), ' ');
  }
  return out;
}

std::string ExchangeTimeStamp(platform::Env& env) {
  const platform::LocalTime now = env.Now();
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d%04d%02d%02d", now.day, now.month, now.year, now.hour,
                now.minute);
  return text;
}

}  // namespace norvalde::exchange
