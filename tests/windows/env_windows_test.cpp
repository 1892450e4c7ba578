// The Windows Env's own behaviour: path spelling, file operations, the clock, the work folder
// and the system's error codes and texts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tables/table.h"
#include "tables/work_tables.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/wide_path.h"

namespace norvalde::platform {
namespace {

using norvalde::testing::TempFolder;
using norvalde::testing::WidePath;

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

TEST(WindowsFiles, FileOperationsKeepTheirContracts) {
  TempFolder folder;
  Env& env = Env::Default();
  const std::string path = folder.Carpeta() + "DATOS.DBF";
  StoreFile(env, path, "0123456789");
  EXPECT_TRUE(env.FileExists(path));
  EXPECT_FALSE(env.FolderExists(path));
  EXPECT_FALSE(env.FileExists(folder.Carpeta()));

  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(path, OpenMode::kReadWriteExclusive, file), 0);
  ASSERT_EQ(file->Seek(4), 0);
  // Cutting the file leaves the position where it was, as a POSIX truncate does.
  ASSERT_EQ(file->Truncate(6), 0);
  char buffer[8];
  size_t got = 0;
  ASSERT_EQ(file->Read(buffer, sizeof buffer, got), 0);
  EXPECT_EQ(std::string(buffer, got), "45");
  ASSERT_EQ(file->Read(buffer, sizeof buffer, got), 0);
  EXPECT_EQ(got, 0u);
  uint64_t size = 0;
  ASSERT_EQ(file->Size(size), 0);
  EXPECT_EQ(size, 6u);
  ASSERT_EQ(file->Close(), 0);

  // A rename replaces the target; a deleted file is gone.
  const std::string other = folder.Carpeta() + "OTRO.DBF";
  StoreFile(env, other, "nuevo");
  ASSERT_EQ(env.RenameFile(other, path), 0);
  EXPECT_EQ(ReadWhole(env, path), "nuevo");
  EXPECT_FALSE(env.FileExists(other));
  ASSERT_EQ(env.DeleteFile(path), 0);
  EXPECT_FALSE(env.FileExists(path));
}

// The system's codes are the run-time library's codes: no translation on Windows.
TEST(WindowsFiles, FailuresReturnTheSystemsCodes) {
  TempFolder folder;
  Env& env = Env::Default();
  std::unique_ptr<File> file;
  EXPECT_EQ(env.Open(folder.Carpeta() + "falta.txt", OpenMode::kReadSharedDenyWrite, file),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(env.Open(folder.Carpeta() + "no\\falta.txt", OpenMode::kReadSharedDenyWrite, file),
            ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(env.Open(folder.Carpeta(), OpenMode::kReadSharedDenyWrite, file),
            ERROR_ACCESS_DENIED);
  // A device is no file: reading the console would wait for a keyboard. (Without a console
  // the system refuses CON itself.)
  for (const char* device : {"CON", "NUL", "\\\\.\\NUL"}) {
    EXPECT_NE(env.Open(device, OpenMode::kReadSharedDenyWrite, file), 0) << device;
    EXPECT_EQ(file, nullptr);
  }
  EXPECT_EQ(env.Open("NUL", OpenMode::kReadSharedDenyWrite, file), ERROR_ACCESS_DENIED);
  EXPECT_EQ(env.DeleteFile(folder.Carpeta() + "falta.txt"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(InOutErrorMessage(RuntimeErrorCode(ERROR_FILE_NOT_FOUND)),
            "No se encuentra el archivo");
  EXPECT_EQ(InOutErrorMessage(RuntimeErrorCode(ERROR_SHARING_VIOLATION)), "Error de E/S 32");
}

TEST(WindowsFiles, SystemTextsAreSingleLines) {
  for (int code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION}) {
    const std::string text = SystemErrorText(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  }
}

TEST(WindowsClock, NowIsTheLocalTime) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const LocalTime now = Env::Default().Now();
  SYSTEMTIME after;
  GetLocalTime(&after);
  // Read between two readings of the system's local clock, so equal to one of them.
  auto matches = [&](const SYSTEMTIME& t) {
    return now.year == t.wYear && now.month == t.wMonth && now.day == t.wDay &&
           now.hour == t.wHour && now.minute == t.wMinute;
  };
  EXPECT_TRUE(matches(before) || matches(after));
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
    tables::RecreateWorkTable(env, WorkFolder(), tables::AsignomtTable(), table);
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
