#include "exchange/exchange_fields.h"

#include <algorithm>
#include <cstdio>

namespace norvalde::exchange {

std::string ColumnText(std::string_view line, int first, int last) {
  return std::string(ColumnView(line, first, last));
}

std::string FieldText(std::string_view line, int first, int last) {
  return std::string(FieldView(line, first, last));
}

std::string UpperCaseAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsDetailLine(std::string_view line, std::string_view guardName) {
  const std::string_view recordType = ColumnView(line, 1, 1);
  if (recordType == "0" || recordType == "9") return false;
  // Compared as UpperCaseAscii would give it, without building it: this runs on every line,
  // and most are too short to hold the guard at all, trimmed or not.
  if (ColumnView(line, 2, 51).size() < guardName.size()) return true;
  const std::string_view field = FieldView(line, 2, 51);
  if (field.size() != guardName.size()) return true;
  for (size_t i = 0; i < field.size(); ++i) {
    const char c = field[i] >= 'a' && field[i] <= 'z' ? static_cast<char>(field[i] - 'a' + 'A')
                                                       : field[i];
    if (c != guardName[i]) return true;
  }
  return false;
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
