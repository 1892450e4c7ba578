// The two ways of reading an exchange file, fed the same bytes, and how reading fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "exchange/exchange_line_list.h"
#include "exchange/exchange_reader.h"
#include "platform/system_errors.h"
#include "tests/support/faulty_env.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

using Lines = std::vector<std::string>;
using namespace norvalde::testing;

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
  list.LoadFromFile(path);
  Lines lines;
  for (int i = 0; i < list.Count(); ++i) lines.emplace_back(list.Line(i));
  return lines;
}

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

struct ByteStream {
  const char* name;
  std::string bytes;
  Lines byReader;
  Lines byLineList;
};

// Test names show the stream's name, not its bytes.
void PrintTo(const ByteStream& stream, std::ostream* out) { *out << stream.name; }

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
    {"nul inside", Bytes("ab\0cd\r\nef\r\n", 11), {Bytes("ab\0cd", 5), "ef"}, {"ab"}},
    {"nul at the start", Bytes("\0ab\r\n", 5), {Bytes("\0ab", 3)}, {}},
    {"ctrl-z at a line start", "ab\r\n\x1A" "cd\r\n", {"ab"}, {"ab", "\x1A" "cd"}},
    {"ctrl-z after the text", "ab\x1A\r\n", {"ab"}, {"ab\x1A"}},
    {"ctrl-z after the last break", "ab\r\n\x1A", {"ab"}, {"ab", "\x1A"}},
    {"ctrl-z inside, lines after", "ab\x1A" "cd\r\nef\r\n", {"ab"}, {"ab\x1A" "cd", "ef"}},
    {"ctrl-z alone", "\x1A", {}, {"\x1A"}},
    {"high bytes", "\xBD\xF1\xFF\x7F\r\n", {"\xBD\xF1\xFF\x7F"}, {"\xBD\xF1\xFF\x7F"}},
};

class BothReaders : public ::testing::TestWithParam<ByteStream> {};

TEST_P(BothReaders, SplitTheBytesAsEachDefinesIt) {
  TempFolder folder;
  const std::string path = folder.WriteFile("f.txt", GetParam().bytes);
  platform::Env& env = platform::Env::Default();
  EXPECT_EQ(ReadWithReader(env, path), GetParam().byReader);
  EXPECT_EQ(ReadWithLineList(env, path), GetParam().byLineList);
  EXPECT_EQ(folder.ReadFile("f.txt"), GetParam().bytes);  // reading never changes a file
}

INSTANTIATE_TEST_SUITE_P(Streams, BothReaders, ::testing::ValuesIn(kStreams),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(ExchangeReader, LongLinesAndBreaksAcrossTheBuffer) {
  TempFolder folder;
  const std::string huge(10 * 1024 * 1024, 'x');
  // A CR LF pair split by the 64 KiB buffer boundary, and a 10 MB line without limit.
  const std::string first(64 * 1024 - 1, 'a');
  const std::string path = folder.WriteFile("f.txt", first + "\r\n" + huge + "\r\nend");
  const Lines expected = {first, huge, "end"};
  EXPECT_EQ(ReadWithReader(platform::Env::Default(), path), expected);
  EXPECT_EQ(ReadWithLineList(platform::Env::Default(), path), expected);
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

void ExpectReaderError(platform::Env& env, const std::string& path, const std::string& message) {
  try {
    ReadWithReader(env, path);
    ADD_FAILURE() << "no error for " << path;
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), message) << path;
  }
}

TEST(ExchangeReader, FailsWithTheLibraryMessages) {
  TempFolder folder;
  platform::Env& env = platform::Env::Default();
  folder.MakeFolder("sub");
  ExpectReaderError(env, folder.Path("missing.txt"), "No se encuentra el archivo");
  ExpectReaderError(env, folder.Path("sub"), "Acceso al archivo denegado");
#ifndef _WIN32
  ExpectReaderError(env, folder.Path(std::string(300, 'n')), "Nombre de archivo inválido");
#endif

  const std::string path = folder.WriteFile("held.txt", "a\r\n");
  std::unique_ptr<platform::File> writer;
  ASSERT_EQ(env.Open(path, platform::OpenMode::kReadWriteExclusive, writer), 0);
  ExpectReaderError(env, path, "Error de E/S 32");
}

TEST(ExchangeReader, FailsWhenReadingOrClosingFails) {
  TempFolder folder;
  const std::string path = folder.WriteFile("f.txt", "a\r\nb\r\n");
  for (Operation operation : {Operation::kRead, Operation::kClose}) {
    FaultyEnv env;
    env.FailNth(operation, 1, kErrorDeviceFault);
    ExpectReaderError(env, path, "Error de E/S 1117");
  }
}

TEST(ExchangeLineList, LoadFailsWithTheOpenMessage) {
  TempFolder folder;
  folder.MakeFolder("sub");
  const std::string held = folder.WriteFile("held.txt", "a");
  std::unique_ptr<platform::File> writer;
  ASSERT_EQ(platform::Env::Default().Open(held, platform::OpenMode::kReadWriteExclusive, writer),
            0);
  const struct {
    std::string path;
    int error;
  } cases[] = {
      {folder.Path("missing.txt"), kErrorFileNotFound},
      {folder.Path("sub"), kErrorFolderAsFile},
      {held, kErrorFileInUse},
  };
  // A missing file is also what a file that vanished after an existence test gives.
  for (const auto& c : cases) {
    ExchangeLineList list(platform::Env::Default());
    list.Add("kept");
    try {
      list.LoadFromFile(c.path);
      ADD_FAILURE() << "no error for " << c.path;
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()),
                "Cannot open file \"" + c.path + "\". " + platform::SystemErrorText(c.error));
    }
    EXPECT_EQ(list.Count(), 1);
  }
}

}  // namespace
}  // namespace norvalde::exchange
