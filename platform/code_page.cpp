#include "platform/code_page.h"

#include "platform/windows_1252.h"

namespace norvalde::platform {

namespace {

// Unicode code points of the bytes 0x80-0x9F. The five bytes Windows-1252 leaves undefined
// keep their C1 control code points, as the Windows conversion functions do.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(char16_t codePoint, std::string& out) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace

char16_t Windows1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;  // ASCII and Latin-1 coincide with Unicode
}

bool Windows1252Byte(char16_t codePoint, char& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    byte = static_cast<char>(codePoint);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::u16string Windows1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += Windows1252CodePoint(static_cast<unsigned char>(c));
  return out;
}

std::string Windows1252ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(Windows1252CodePoint(static_cast<unsigned char>(c)), out);
  return out;
}

}  // namespace norvalde::platform
