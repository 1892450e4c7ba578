// The Windows temporary file of a save: created only under a name nothing has, and gone unless
// it was closed complete, so a process that ends while writing it leaves nothing behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "exchange/exchange_line_list.h"
#include "platform/env.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/wide_path.h"

namespace norvalde::platform {
namespace {

using norvalde::testing::TempFolder;
using norvalde::testing::WidePath;

bool Exists(const std::string& path) {
  return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(WindowsTemporaryFile, StaysOnlyWhenClosedComplete) {
  TempFolder folder;
  Env& env = Env::Default();
  const std::string kept = folder.Path("kept.tmp"), dropped = folder.Path("dropped.tmp");
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(dropped, OpenMode::kCreateTemporary, file), 0);
  ASSERT_EQ(file->Write("half", 4), 0);
  file.reset();  // as when the process ends: the handle closes without Close
  EXPECT_FALSE(Exists(dropped));

  ASSERT_EQ(env.Open(kept, OpenMode::kCreateTemporary, file), 0);
  ASSERT_EQ(file->Write("whole", 5), 0);
  ASSERT_EQ(file->Close(), 0);
  EXPECT_EQ(folder.ReadFile("kept.tmp"), "whole");
}

TEST(WindowsTemporaryFile, NeverTakesANameInUse) {
  TempFolder folder;
  const std::string mine = folder.WriteFile("mine.tmp", "my own");
  std::unique_ptr<File> file;
  EXPECT_EQ(Env::Default().Open(mine, OpenMode::kCreateTemporary, file), ERROR_FILE_EXISTS);
  EXPECT_EQ(folder.ReadFile("mine.tmp"), "my own");
  // A save beside a user's own "<name>.tmp" leaves it as it was.
  folder.WriteFile("ROVA_HORARIO.TXT.tmp", "keep");
  exchange::ExchangeLineList list(Env::Default());
  list.Add("1 line");
  list.SaveToFile(folder.Path("ROVA_HORARIO.TXT"));
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT.tmp"), "keep");
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "1 line\r\n");
}

}  // namespace
}  // namespace norvalde::platform
