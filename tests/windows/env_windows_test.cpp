// The Windows Env's own behaviour: path spelling, truncation, devices refused, and C:\QTEMP as
// the work folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tables/table.h"
#include "export/work_table_recreation.h"
#include "tables/work_tables.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/wide_path.h"

namespace norvalde::platform {
namespace {

using norvalde::testing::TempFolder;
using norvalde::testing::WidePath;

// The named run-time codes are the Windows error numbers they stand for.
static_assert(runtime_code::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(runtime_code::kPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(runtime_code::kTooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES);
static_assert(runtime_code::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(runtime_code::kSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(runtime_code::kLockViolation == ERROR_LOCK_VIOLATION);
static_assert(runtime_code::kFileExists == ERROR_FILE_EXISTS);
static_assert(runtime_code::kHandleDiskFull == ERROR_HANDLE_DISK_FULL);
static_assert(runtime_code::kSystemDiskFull == ERROR_DISK_FULL);
static_assert(runtime_code::kDeviceFault == ERROR_IO_DEVICE);

void StoreFile(Env& env, const std::string& path, const std::string& content) {
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(path, OpenMode::kCreateExclusive, file), 0) << path;
  ASSERT_EQ(file->Write(content.data(), content.size()), 0);
  ASSERT_EQ(file->Close(), 0);
}

std::string ReadWhole(Env& env, const std::string& path) {
  std::unique_ptr<File> file;
  if (env.Open(path, OpenMode::kReadSharedDenyWrite, file) != 0) return "<cannot open>";
  std::string content;
  char buffer[64];
  size_t got = 0;
  while (file->Read(buffer, sizeof buffer, got) == 0 && got > 0) content.append(buffer, got);
  return content;
}

TEST(WindowsPaths, TwoBackslashesInARowNameOne) {
  TempFolder folder;
  Env& env = Env::Default();
  StoreFile(env, folder.Carpeta() + "rova_prof.txt", "x");

  const std::string doubled = folder.Carpeta() + "\\rova_prof.txt";
  EXPECT_TRUE(env.FileExists(doubled));
  EXPECT_TRUE(env.FolderExists(folder.Carpeta() + "\\"));
  EXPECT_EQ(ReadWhole(env, doubled), "x");
  EXPECT_EQ(env.FindFileIgnoringCase(doubled), folder.Carpeta() + "rova_prof.txt");
  // A leading pair is a network name and stays as it is.
  EXPECT_EQ(env.FindFileIgnoringCase("\\\\server\\share\\\\A.DBF"), "\\\\server\\share\\A.DBF");
}

TEST(WindowsPaths, PathsPastTheOldLimitWork) {
  TempFolder folder;
  Env& env = Env::Default();
  std::string deep = folder.path();
  while (deep.size() < 300) {
    deep += "\\" + std::string(40, 'd');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + WidePath(deep)).c_str(), nullptr)) << deep;
  }
  const std::string path = deep + "\\f.txt";
  StoreFile(env, path, "deep");
  EXPECT_TRUE(env.FileExists(path));
  EXPECT_EQ(ReadWhole(env, path), "deep");
  EXPECT_EQ(env.DeleteFile(path), 0);
}

TEST(WindowsPaths, NamesIgnoreCaseAndCarryAccents) {
  TempFolder folder;
  Env& env = Env::Default();
  StoreFile(env, folder.Carpeta() + "asignomt.dbf", "tabla");
  EXPECT_EQ(ReadWhole(env, env.FindFileIgnoringCase(folder.Carpeta() + "ASIGNOMT.DBF")), "tabla");

  // Paths are UTF-8 and reach the system as the same wide name.
  StoreFile(env, folder.Carpeta() + "Matem\xC3\xA1ticas.txt", "m");
  EXPECT_NE(GetFileAttributesW(WidePath(folder.Carpeta() + "Matem\xC3\xA1ticas.txt").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

// SetEndOfFile cuts at the file pointer; the next read must still start where it was.
TEST(WindowsFiles, TruncateKeepsThePosition) {
  TempFolder folder;
  Env& env = Env::Default();
  const std::string path = folder.Carpeta() + "DATOS.DBF";
  StoreFile(env, path, "0123456789");
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(path, OpenMode::kReadWriteExclusive, file), 0);
  ASSERT_EQ(file->Seek(4), 0);
  ASSERT_EQ(file->Truncate(6), 0);
  uint64_t size = 0;
  ASSERT_EQ(file->Size(size), 0);
  EXPECT_EQ(size, 6u);
  char buffer[8];
  size_t got = 0;
  ASSERT_EQ(file->Read(buffer, sizeof buffer, got), 0);
  EXPECT_EQ(std::string(buffer, got), "45");
}

// A device is no file: reading the console would wait for a keyboard. (Without a console
// the system refuses CON itself.)
TEST(WindowsFiles, DevicesAreRefused) {
  Env& env = Env::Default();
  std::unique_ptr<File> file;
  for (const char* device : {"CON", "NUL", "\\\\.\\NUL"}) {
    EXPECT_NE(env.Open(device, OpenMode::kReadSharedDenyWrite, file), 0) << device;
    EXPECT_EQ(file, nullptr);
  }
  EXPECT_EQ(env.Open("NUL", OpenMode::kReadSharedDenyWrite, file), ERROR_ACCESS_DENIED);
}

// The work folder is C:\QTEMP; the test makes it on the prefix's drive C and re-creates a
// work table there as the Export does.
TEST(WindowsWorkFolder, IsQtempOnDriveC) {
  ASSERT_EQ(WorkFolder(), "C:\\QTEMP");
  const bool made = CreateDirectoryW(L"C:\\QTEMP", nullptr) != 0;
  Env& env = Env::Default();
  EXPECT_TRUE(env.FolderExists(WorkFolder()));
  {
    tables::Table table(env);
    exporting::KeptTables kept(env, WorkFolder());
    exporting::RecreateWorkTable(kept, tables::AsignomtTable(), table);
    table.Append();
    table.SetText("COD", "MAT");
    table.Post();
  }
  EXPECT_TRUE(env.FileExists("c:\\qtemp\\asignomt.dbf"));
  EXPECT_EQ(env.DeleteFile(JoinPath(WorkFolder(), "ASIGNOMT.DBF")), 0);
  if (made) RemoveDirectoryW(L"C:\\QTEMP");
}

}  // namespace
}  // namespace norvalde::platform
