// ExchangeLineList's indexing and its save, which must never leave a half-written file.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "exchange/exchange_line_list.h"
#include "platform/paths.h"
#include "tests/support/error_of.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

using namespace norvalde::testing;

TEST(ExchangeLineList, LineOutsideTheListFails) {
  ExchangeLineList list(platform::Env::Default());
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(list.Line(1), "b");
  for (int index : {2, -1, 1000}) {
    EXPECT_EQ(ErrorOf([&] { list.Line(index); }),
              "List index out of bounds (" + std::to_string(index) + ")");
  }
}

// Loaded and added lines share one buffer: a load must drop every earlier line, and lines
// added after it must neither shift nor swallow the loaded ones.
TEST(ExchangeLineList, LoadReplacesEarlierLinesAndAddsFollowThem) {
  TempFolder folder;
  const std::string path = folder.WriteFile("in.txt", "ab\r\n\r\ncd\nef");
  ExchangeLineList list(platform::Env::Default());
  list.Add("old");
  list.LoadFromFile(path);
  list.Add("");
  list.Add("gh");
  ASSERT_EQ(list.Count(), 6);
  const char* expected[] = {"ab", "", "cd", "ef", "", "gh"};
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Line(i), expected[i]) << i;
  list.SaveToFile(path);
  EXPECT_EQ(folder.ReadFile("in.txt"), "ab\r\n\r\ncd\r\nef\r\n\r\ngh\r\n");
}

TEST(ExchangeLineList, SaveWritesEveryLineWithCrLfAndReplacesTheOldFile) {
  TempFolder folder;
  const std::string path = folder.WriteFile("ROVA_HORARIO.TXT", std::string(5000, 'o'));
  ExchangeLineList list(platform::Env::Default());
  list.Add("0ROVA_HORARIO.TXT");
  list.Add("");
  list.Add("1\xBD\xF1\x1A");
  list.SaveToFile(path);
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "0ROVA_HORARIO.TXT\r\n\r\n1\xBD\xF1\x1A\r\n");

  ExchangeLineList empty(platform::Env::Default());
  empty.SaveToFile(path);
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "");
  EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});
}

TEST(ExchangeLineList, SaveWritesExactlyTheNameAsked) {
  TempFolder folder;
  folder.WriteFile("rova_horario.txt", "old");
  ExchangeLineList list(platform::Env::Default());
  list.Add("new");
  list.SaveToFile(folder.Carpeta() + "ROVA_HORARIO.TXT");
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "new\r\n");
#ifndef _WIN32  // a file system that ignores case keeps one name whatever is asked
  EXPECT_EQ(folder.ReadFile("rova_horario.txt"), "old");
  EXPECT_EQ(FileNames(folder.path()),
            (std::set<std::string>{"ROVA_HORARIO.TXT", "rova_horario.txt"}));
#endif
}

TEST(ExchangeLineList, SaveRefusedForBadTargets) {
  TempFolder folder;
  folder.MakeFolder("ROVA_HORARIO.TXT");
  const std::string held = folder.WriteFile("held.txt", "old");
  std::unique_ptr<platform::File> reader;
  ASSERT_EQ(platform::Env::Default().Open(held, platform::OpenMode::kReadSharedDenyWrite, reader),
            0);
  const struct {
    std::string path;
    int error;
  } cases[] = {
      {platform::JoinPath(folder.Path("missing"), "ROVA_HORARIO.TXT"), kErrorPathNotFound},
      {folder.Path("ROVA_HORARIO.TXT"), kErrorFolderAsFile},
      {held, kErrorFileInUse},
  };
  ExchangeLineList list(platform::Env::Default());
  list.Add("new");
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf([&] { list.SaveToFile(c.path); }), CannotCreate(c.path, c.error));
  EXPECT_EQ(folder.ReadFile("held.txt"), "old");
  EXPECT_EQ(FileNames(folder.path()), (std::set<std::string>{"ROVA_HORARIO.TXT", "held.txt"}));
}

}  // namespace
}  // namespace norvalde::exchange
