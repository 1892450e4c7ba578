#include "tables/language_drivers.h"

#include <algorithm>
#include <cctype>

namespace norvalde::tables {

int CodePageOfLanguageDriver(uint8_t driver) {
  switch (driver) {
    case 0x00: return 0;
    case 0x01: case 0x09: case 0x0B: case 0x0D: case 0x0F: case 0x11: case 0x15: case 0x18:
    case 0x19: case 0x1B: return 437;
    case 0x02: case 0x0A: case 0x0E: case 0x10: case 0x12: case 0x14: case 0x16: case 0x1A:
    case 0x1D: case 0x25: case 0x37: return 850;
    case 0x04: return 10000;
    case 0x08: case 0x17: case 0x66: return 865;
    case 0x13: case 0x7B: return 932;
    case 0x1F: case 0x22: case 0x23: case 0x40: case 0x64: return 852;
    case 0x1C: return 863;
    case 0x24: return 860;
    case 0x26: case 0x65: return 866;
    case 0x4D: case 0x7A: return 936;
    case 0x4E: case 0x79: return 949;
    case 0x4F: case 0x78: return 950;
    case 0x50: case 0x7C: return 874;
    case 0x67: return 861;
    case 0x6A: return 737;
    case 0x6B: return 857;
    case 0x7D: return 1255;
    case 0x7E: return 1256;
    case 0x96: return 10007;
    case 0x97: return 10029;
    case 0x98: return 10006;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0xCA: return 1254;
    case 0xCB: return 1253;
    default: return 1252;  // 0x03, 0x57, 0x58, 0x59 and drivers we do not know
  }
}

int CodePageOfLanguageDriverName(const std::string& name) {
  if (name.starts_with("DBWIN")) return 1252;
  size_t end = 2;
  while (end < name.size() && end < 5 && std::isdigit(static_cast<unsigned char>(name[end]))) {
    ++end;
  }
  if (!name.starts_with("DB") || end != 5) return 0;
  return std::stoi(name.substr(2, 3));
}

int CodePageOfCpgText(const std::string& text) {
  std::string name;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  if (name == "UTF8") return 65001;
  if (name == "ISO88591" || name == "LATIN1") return 28591;
  const size_t digits = name.find_first_of("0123456789");
  if (digits == std::string::npos) return 0;
  const std::string prefix = name.substr(0, digits);
  if (prefix != "" && prefix != "CP" && prefix != "ANSI" && prefix != "OEM" &&
      prefix != "WINDOWS" && prefix != "IBM") {
    return 0;
  }
  const std::string number = name.substr(digits);
  if (number.size() > 5 || !std::all_of(number.begin(), number.end(), ::isdigit)) return 0;
  return std::stoi(number);
}

}  // namespace norvalde::tables
