// The two rules of reading an exchange file, ExchangeReader's and the line list's, each
// reader fed the same bytes, and how reading fails.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include "exchange/cr_or_lf_line_reader.h"
#include "exchange/exchange_line_list.h"
#include "exchange/exchange_reader.h"
#include "tests/support/error_of.h"
#include "tests/support/faulty_env.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

using Lines = std::vector<std::string>;
using namespace norvalde::testing;

constexpr size_t kBuffer = 64 * 1024;  // the readers' buffer, where breaks may be cut apart

Lines ReadWithReader(platform::Env& env, const std::string& path) {
  ExchangeReader reader(env);
  reader.Open(path);
  Lines lines;
  while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
  reader.Close();
  return lines;
}

Lines ReadWithLineList(platform::Env& env, const std::string& path) {
  ExchangeLineList list(env);
  list.Add("earlier");  // a load replaces it; a failed load keeps it
  try {
    list.LoadFromFile(path);
  } catch (...) {
    EXPECT_EQ(list.Count(), 1) << "a failed load lost the list's lines";
    throw;
  }
  Lines lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Line(i));
  return lines;
}

Lines ReadWithCrOrLfReader(platform::Env& env, const std::string& path) {
  CrOrLfLineReader reader(env);
  reader.Open(path);
  Lines lines;
  std::string_view line;
  try {
    while (reader.Next(line)) lines.emplace_back(line);
  } catch (...) {
    EXPECT_FALSE(reader.Next(line)) << "a line after a failure";
    throw;
  }
  EXPECT_FALSE(reader.Next(line)) << "a line after the end";
  return lines;
}

struct Reader {
  const char* name;
  Lines (*read)(platform::Env&, const std::string&);
  bool crOrLf;  // follows the line list's rule, else ExchangeReader's
};

const Reader kReaders[] = {
    {"ExchangeReader", ReadWithReader, false},
    {"ExchangeLineList", ReadWithLineList, true},
    {"CrOrLfLineReader", ReadWithCrOrLfReader, true},
};

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }
// `count` bytes of filler, so what follows lands on a buffer's edge.
std::string Filler(size_t count) { return std::string(count, 'f'); }

struct ByteStream {
  const char* name;
  std::string bytes;
  Lines byLf;      // ExchangeReader: LF ends a line, CR is dropped, Ctrl-Z ends the text
  Lines byCrOrLf;  // the line list: CR, LF or CR LF ends a line, NUL ends the text
};

const ByteStream kStreams[] = {
    {"empty", "", {}, {}},
    {"lf", "a\nb\n", {"a", "b"}, {"a", "b"}},
    {"crlf", "a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
    {"no final break", "a\r\nb", {"a", "b"}, {"a", "b"}},
    {"two final breaks", "a\r\n\r\n", {"a", ""}, {"a", ""}},
    {"empty line between", "a\n\nb", {"a", "", "b"}, {"a", "", "b"}},
    {"only a break", "\r\n", {""}, {""}},
    {"lone cr inside", "ab\rcd\n", {"abcd"}, {"ab", "cd"}},
    {"cr at the end", "ab\r", {"ab"}, {"ab"}},
    {"cr cr lf", "ab\r\r\ncd", {"ab", "cd"}, {"ab", "", "cd"}},
    {"mixed breaks", "a\rb\nc\r\nd\n\re\r\r\nf", {"ab", "c", "d", "e", "f"},
     {"a", "b", "c", "d", "", "e", "", "f"}},
    {"nul inside", Bytes("ab\0cd\r\nef\r\n", 11), {Bytes("ab\0cd", 5), "ef"}, {"ab"}},
    {"nul at the start", Bytes("\0ab\r\n", 5), {Bytes("\0ab", 3)}, {}},
    {"nul after a break", Bytes("a\r\n\0b", 5), {"a", Bytes("\0b", 2)}, {"a"}},
    {"ctrl-z at a line start", "ab\r\n\x1A" "cd\r\n", {"ab"}, {"ab", "\x1A" "cd"}},
    {"ctrl-z after the text", "ab\x1A\r\n", {"ab"}, {"ab\x1A"}},
    {"ctrl-z after the last break", "ab\r\n\x1A", {"ab"}, {"ab", "\x1A"}},
    {"ctrl-z inside, lines after", "ab\x1A" "cd\r\nef\r\n", {"ab"}, {"ab\x1A" "cd", "ef"}},
    {"ctrl-z alone", "\x1A", {}, {"\x1A"}},
    {"high bytes", "\xBD\xF1\xFF\x7F\r\n", {"\xBD\xF1\xFF\x7F"}, {"\xBD\xF1\xFF\x7F"}},
    {"cr lf cut by the buffer", Filler(kBuffer - 1) + "\r\nnext\r\n", {Filler(kBuffer - 1), "next"},
     {Filler(kBuffer - 1), "next"}},
    {"cr at the buffer's end, no lf", Filler(kBuffer - 1) + "\rnext",
     {Filler(kBuffer - 1) + "next"}, {Filler(kBuffer - 1), "next"}},
    {"cr ends the file at the buffer's end", Filler(kBuffer - 1) + "\r", {Filler(kBuffer - 1)},
     {Filler(kBuffer - 1)}},
    {"line across the buffer", "start\r\n" + Filler(kBuffer) + "end\r\nlast",
     {"start", Filler(kBuffer) + "end", "last"}, {"start", Filler(kBuffer) + "end", "last"}},
    {"line of three buffers, then lf", Filler(3 * kBuffer + 7) + "\nz",
     {Filler(3 * kBuffer + 7), "z"}, {Filler(3 * kBuffer + 7), "z"}},
    {"nul in a later buffer", Filler(2 * kBuffer + 3) + Bytes("ab\0cd\r\n", 7),
     {Filler(2 * kBuffer + 3) + Bytes("ab\0cd", 5)}, {Filler(2 * kBuffer + 3) + "ab"}},
    {"nul right after a carried part", Filler(kBuffer) + Bytes("\0", 1),
     {Filler(kBuffer) + Bytes("\0", 1)}, {Filler(kBuffer)}},
};

// Test listings and failures show names, never the bytes.
void PrintTo(const Reader& reader, std::ostream* out) { *out << reader.name; }
void PrintTo(const ByteStream& stream, std::ostream* out) { *out << stream.name; }

using ReaderAndStream = std::tuple<Reader, ByteStream>;

class Reading : public ::testing::TestWithParam<ReaderAndStream> {};

TEST_P(Reading, SplitsTheBytesByItsRule) {
  const auto& [reader, stream] = GetParam();
  TempFolder folder;
  const std::string path = folder.WriteFile("f.txt", stream.bytes);
  EXPECT_EQ(reader.read(platform::Env::Default(), path),
            reader.crOrLf ? stream.byCrOrLf : stream.byLf);
  EXPECT_EQ(folder.ReadFile("f.txt"), stream.bytes);  // reading never changes a file
}

// Named as "ExchangeLineList_lone_cr_inside".
INSTANTIATE_TEST_SUITE_P(EachReaderEachStream, Reading,
                         ::testing::Combine(::testing::ValuesIn(kReaders),
                                            ::testing::ValuesIn(kStreams)),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param).name;
                           name += std::string("_") + std::get<1>(info.param).name;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// Lines have no length limit. Kept out of the table, whose rows every test listing builds.
TEST(EveryReader, TakesATenMegabyteLine) {
  TempFolder folder;
  const std::string huge(10 * 1024 * 1024, 'x');
  const std::string path = folder.WriteFile("f.txt", "a\r\n" + huge + "\r\nend");
  for (const Reader& reader : kReaders) {
    EXPECT_EQ(reader.read(platform::Env::Default(), path), (Lines{"a", huge, "end"}))
        << reader.name;
  }
}

TEST(ExchangeReader, ReadsPastTheEndAsEmptyLines) {
  TempFolder folder;
  ExchangeReader reader(platform::Env::Default());
  reader.Open(folder.WriteFile("f.txt", "a\x1A" "b"));
  EXPECT_EQ(reader.ReadLine(), "a");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "");  // stays at the end mark, never loops or throws
  EXPECT_TRUE(reader.AtEnd());
}

// ExchangeReader fails with the run-time library's messages, the readers of the line list's rule
// with the list's own; a close that fails after reading loses nothing for them. A missing file
// is also what a file that vanished after an existence test gives.
TEST(EveryReader, FailsWithTheMessagesOfItsRule) {
  TempFolder folder;
  const std::string missing = folder.Path("missing.txt"), sub = folder.MakeFolder("sub");
  [[maybe_unused]] const std::string tooLong = folder.Path(std::string(300, 'n'));
  const std::string held = folder.WriteFile("held.txt", "a\r\n");
  const std::string longer = folder.WriteFile("long.txt", Filler(3 * kBuffer) + "\r\n");
  std::unique_ptr<platform::File> writer;
  ASSERT_EQ(platform::Env::Default().Open(held, platform::OpenMode::kReadWriteExclusive, writer),
            0);
  const struct {
    std::string path;
    Operation failing;  // fails at its `nth` call with kErrorDeviceFault; kCount: none fails
    int nth;
    std::string byLf, byCrOrLf;
  } cases[] = {
      {missing, Operation::kCount, 0, "No se encuentra el archivo",
       CannotOpen(missing, kErrorFileNotFound)},
      {sub, Operation::kCount, 0, "Acceso al archivo denegado",
       CannotOpen(sub, kErrorFolderAsFile)},
#ifndef _WIN32
      {tooLong, Operation::kCount, 0, "Nombre de archivo inválido",
       CannotOpen(tooLong, ENAMETOOLONG)},
#endif
      {held, Operation::kCount, 0, "Error de E/S 32", CannotOpen(held, kErrorFileInUse)},
      {longer, Operation::kRead, 1, "Error de E/S 1117", "Stream read error"},
      {longer, Operation::kRead, 2, "Error de E/S 1117", "Stream read error"},
      {longer, Operation::kClose, 1, "Error de E/S 1117", "<no error>"},
  };
  for (const auto& c : cases) {
    for (const Reader& reader : kReaders) {
      FaultyEnv env;
      if (c.failing != Operation::kCount) env.FailNth(c.failing, c.nth, kErrorDeviceFault);
      EXPECT_EQ(ErrorOf([&] { reader.read(env, c.path); }), reader.crOrLf ? c.byCrOrLf : c.byLf)
          << reader.name << " on " << c.path;
    }
  }
}

}  // namespace
}  // namespace norvalde::exchange
