// CrOrLfLineReader gives exactly the lines ExchangeLineList::LoadFromFile gives, wherever the
// breaks fall against its buffer, and fails with the same messages.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "exchange/exchange_line_list.h"
#include "exchange/cr_or_lf_line_reader.h"
#include "tests/exchange/exchange_test_helpers.h"
#include "tests/support/faulty_env.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

using namespace norvalde::testing;
using namespace norvalde::exchange::testing;

constexpr size_t kBuffer = 64 * 1024;  // the stream's buffer, where breaks may be cut apart

std::vector<std::string> Streamed(platform::Env& env, const std::string& path) {
  CrOrLfLineReader stream(env);
  stream.Open(path);
  std::vector<std::string> lines;
  std::string_view line;
  while (stream.Next(line)) lines.emplace_back(line);
  EXPECT_FALSE(stream.Next(line)) << "lines after the end";
  return lines;
}

std::vector<std::string> Loaded(platform::Env& env, const std::string& path) {
  ExchangeLineList list(env);
  list.LoadFromFile(path);
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Line(i));
  return lines;
}

TEST(CrOrLfLineReader, SplitsAsTheLineListLoads) {
  // `before` bytes of filler, then the interesting part, so it lands on the buffer's edge.
  const auto around = [](size_t before, const std::string& tail) {
    return std::string(before, 'f') + tail;
  };
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"one break", "\r\n"},
      {"mixed breaks", "a\rb\nc\r\nd\n\re\r\r\nf"},
      {"final break", "a\r\nb\r\n"},
      {"no final break", "a\r\nb"},
      {"Ctrl-Z is a byte", "a\x1a" "b\r\n\x1a\r\n"},
      {"NUL ends the text", std::string("a\r\nb\0c\r\nd", 9)},
      {"NUL after a break", std::string("a\r\n\0b", 5)},
      {"NUL first", std::string("\0a", 2)},
      {"CR LF cut by the buffer", around(kBuffer - 1, "\r\nnext\r\n")},
      {"CR at the buffer's end, no LF", around(kBuffer - 1, "\rnext")},
      {"CR ends the file", around(kBuffer - 1, "\r")},
      {"line across the buffer", "start\r\n" + around(kBuffer, "end\r\nlast")},
      {"line of three buffers", std::string(3 * kBuffer + 7, 'x') + "\nz"},
      {"NUL in a later buffer", around(2 * kBuffer + 3, std::string("ab\0cd\r\n", 7))},
      {"NUL right after a carried part", around(kBuffer, std::string("\0", 1))},
  };
  TempFolder folder;
  platform::Env& env = platform::Env::Default();
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const std::string path = folder.WriteFile("lines.txt", bytes);
    EXPECT_EQ(Streamed(env, path), Loaded(env, path));
  }
  EXPECT_EQ(Streamed(env, folder.WriteFile("x.txt", "a\rb\nc\r\nd\n\re\r\r\nf")),
            (std::vector<std::string>{"a", "b", "c", "d", "", "e", "", "f"}));
}

TEST(CrOrLfLineReader, FailsAsTheLineListLoads) {
  TempFolder folder;
  const std::string missing = folder.Path("missing.txt");
  platform::Env& env = platform::Env::Default();
  ExchangeLineList list(env);
  CrOrLfLineReader stream(env);
  const std::string expected = ErrorOf([&] { list.LoadFromFile(missing); });
  EXPECT_EQ(expected.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << expected;
  EXPECT_EQ(ErrorOf([&] { stream.Open(missing); }), expected);

  const std::string path = folder.WriteFile("long.txt", std::string(3 * kBuffer, 'x') + "\r\n");
  FaultyEnv faulty;
  faulty.FailNth(Operation::kRead, 2);
  std::string_view line;
  CrOrLfLineReader failing(faulty);
  failing.Open(path);
  EXPECT_EQ(ErrorOf([&] { failing.Next(line); }), "Stream read error");
  EXPECT_FALSE(failing.Next(line));
}

}  // namespace
}  // namespace norvalde::exchange
