#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace norvalde::platform {
namespace {

TEST(Windows1252ToUtf8, ConvertsEveryKindOfByte) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"Aula 1", "Aula 1"},
      {"\xBD", "½"},
      {"Espa\xF1ol", "Español"},
      {"\x80", "€"},
      {"\x9F", "Ÿ"},
      {"\x81", "\xC2\x81"},  // undefined in the code page: kept as its C1 control
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\xFF", "ÿ"},
  };
  for (const auto& c : cases) EXPECT_EQ(Windows1252ToUtf8(c.in), c.out) << c.in;
}

TEST(ToWindows1252, ConvertsFromOtherCodePages) {
  const struct {
    std::string in;
    int codePage;
    std::string out;
  } cases[] = {
      {"Espa\xF1ol", 1252, "Espa\xF1ol"},
      {"Espa\xA4ol", 850, "Espa\xF1ol"},
      {"Espa\xA4ol", 437, "Espa\xF1ol"},
      {"\x9B", 437, "\xA2"},            // cent sign
      {"a\xB0z", 437, "a?z"},           // a shade block has no place in Windows-1252
      {"\xD1", 1250, "?"},               // N with acute (U+0143) is not in Windows-1252
      {"Espa\xF1ol", 99999, "Espa\xF1ol"},  // unknown code page: bytes taken as they are
      {"", 850, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToWindows1252(c.in, c.codePage), c.out) << c.codePage << " " << c.in;
  }
}

}  // namespace
}  // namespace norvalde::platform
