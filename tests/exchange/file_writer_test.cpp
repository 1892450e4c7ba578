// ExchangeFileWriter: the file it leaves is exactly its lines with CR LF, built in place or
// added, and nothing else is ever left: before Commit, or after any failure of the writer or of
// a line list's save through it, the target is as it was and no temporary file remains.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "exchange/exchange_file_writer.h"
#include "exchange/exchange_line_list.h"
#include "tests/support/error_of.h"
#include "tests/support/faulty_env.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

using namespace norvalde::testing;

const std::string kOld = "old content\r\n";
#ifdef _WIN32
constexpr int kErrorFileExists = 80;  // ERROR_FILE_EXISTS
#else
constexpr int kErrorFileExists = EEXIST;
#endif

// Several buffers' worth of lines, so files are made and written before Commit.
std::string NumberedLine(int i) { return "1" + std::to_string(i) + std::string(30, 'y'); }
constexpr int kManyLines = 10000;

void AddMany(ExchangeFileWriter& writer) {
  for (int i = 0; i < kManyLines; ++i) writer.Add(NumberedLine(i));
}

std::string ManyLinesFile() {
  std::string bytes;
  for (int i = 0; i < kManyLines; ++i) bytes += NumberedLine(i) + "\r\n";
  return bytes;
}

TEST(ExchangeFileWriter, WritesTheBytesTheLineListSaves) {
  TempFolder folder;
  const std::string huge(200 * 1024, 'h');  // longer than the whole buffer
  ExchangeLineList list(platform::Env::Default());
  ExchangeFileWriter writer(platform::Env::Default(), folder.Path("written.txt"));
  const auto both = [&](const std::string& line) {
    list.Add(line);
    writer.Add(line);
  };
  both("0HEADER");
  both("");
  for (int i = 0; i < kManyLines; ++i) {
    const std::string line = NumberedLine(i);
    list.Add(line);
    // Built in place, in room larger than the line.
    char* at = writer.LineSpace(line.size() + 5);
    std::memcpy(at, line.data(), line.size());
    writer.EndLine(at + line.size());
  }
  both(huge);
  both(std::string("a\0b", 3));
  both("9TRAILER");
  EXPECT_EQ(writer.Count(), list.Count());
  writer.Commit();
  list.SaveToFile(folder.Path("saved.txt"));

  const std::string written = folder.ReadFile("written.txt");
  EXPECT_EQ(written, folder.ReadFile("saved.txt"));
  EXPECT_EQ(written.substr(0, 11), "0HEADER\r\n\r\n");
  EXPECT_EQ(written.substr(written.size() - 10), "9TRAILER\r\n");
  EXPECT_EQ(FileNames(folder.path()), (std::set<std::string>{"written.txt", "saved.txt"}));
}

TEST(ExchangeFileWriter, NoLinesMakeAnEmptyFileThatReplacesTheOldOne) {
  TempFolder folder;
  const std::string path = folder.WriteFile("ROVA_HORARIO.TXT", kOld);
  ExchangeFileWriter writer(platform::Env::Default(), path);
  writer.Commit();
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "");
  EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});
}

TEST(ExchangeFileWriter, UntilCommitTheOldFileStaysAndAGivenUpWriterLeavesNothing) {
  TempFolder folder;
  const std::string path = folder.WriteFile("ROVA_HORARIO.TXT", kOld);
  {
    ExchangeFileWriter writer(platform::Env::Default(), path);
    writer.Add("0FEW");
    // Less than a buffer: nothing is on disk yet.
    EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});
    AddMany(writer);
    EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), kOld);
  }  // given up, as when the run fails before the commit
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), kOld);
  EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});
}

struct WriterFault {
  const char* name;
  Operation operation;
  int nth;
  int error;
  bool cannotCreate;  // else "Stream write error"
};

void PrintTo(const WriterFault& fault, std::ostream* out) { *out << fault.name; }

// The two ways a file is saved: a writer fed line by line, and a line list saved whole.
struct Saver {
  const char* name;
  bool lineList;
};

void PrintTo(const Saver& saver, std::ostream* out) { *out << saver.name; }

class FailedSave : public ::testing::TestWithParam<std::tuple<Saver, WriterFault>> {};

// Whatever fails, the failure is raised at the end alone (a writer's added lines never throw)
// and leaves the old file and nothing else; the same lines save whole once the fault is gone.
TEST_P(FailedSave, FailsAtTheEndLeavingTheOldFileOnly) {
  const auto& [saver, fault] = GetParam();
  TempFolder folder;
  const std::string path = folder.WriteFile("ROVA_HORARIO.TXT", kOld);
  FaultyEnv env;
  ExchangeLineList list(env);
  for (int i = 0; i < kManyLines; ++i) list.Add(NumberedLine(i));
  const auto save = [&] {
    if (saver.lineList) return ErrorOf([&] { list.SaveToFile(path); });
    ExchangeFileWriter writer(env, path);
    EXPECT_EQ(ErrorOf([&] { AddMany(writer); }), "<no error>");
    const std::string error = ErrorOf([&] { writer.Commit(); });
    // Before the writer goes.
    EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});
    return error;
  };
  env.FailNth(fault.operation, fault.nth, fault.error);
  EXPECT_EQ(save(), fault.cannotCreate ? CannotCreate(path, fault.error) : "Stream write error");
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), kOld);
  EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"});

  EXPECT_EQ(save(), "<no error>");
  EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), ManyLinesFile());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedSave,
    ::testing::Combine(
        ::testing::Values(Saver{"FileWriter", false}, Saver{"LineList", true}),
        ::testing::Values(
            WriterFault{"OldFileHeld", Operation::kOpen, 1, kErrorFileInUse, true},
            WriterFault{"CreateRefused", Operation::kOpen, 2, kErrorAccessDenied, true},
            WriterFault{"FirstWrite", Operation::kWrite, 1, kErrorDeviceFault, false},
            WriterFault{"LaterWrite", Operation::kWrite, 3, kErrorDeviceFault, false},
            WriterFault{"Sync", Operation::kSync, 1, kErrorDeviceFault, false},
            WriterFault{"Close", Operation::kClose, 2, kErrorDeviceFault, false},
            // The name taken while the file was written: no short write.
            WriterFault{"CloseNameTaken", Operation::kClose, 2, kErrorFileExists, true},
            WriterFault{"Rename", Operation::kRename, 1, kErrorAccessDenied, true})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// A disk that fills up stops the writing: the later buffers are not even tried.
TEST(ExchangeFileWriter, StopsWritingAfterAFailedWrite) {
  TempFolder folder;
  FaultyEnv env;
  env.FailNth(Operation::kWrite, 2, kErrorDeviceFault);
  ExchangeFileWriter writer(env, folder.Path("ROVA_HORARIO.TXT"));
  AddMany(writer);
  EXPECT_EQ(ErrorOf([&] { writer.Commit(); }), "Stream write error");
  EXPECT_EQ(env.Calls(Operation::kWrite), 2);
  EXPECT_TRUE(FileNames(folder.path()).empty());
}

#ifndef _WIN32
// A target whose path is as long as the system allows is written, its temporary file being
// no longer; one byte more is an error that names the path and says it is too long.
TEST(ExchangeFileWriter, APathAtTheSystemsLimitIsWrittenAndALongerOneNamed) {
  TempFolder folder;
  const std::string name = "ROVA_HORARIO.TXT";
  const size_t wanted = PATH_MAX - 2 - name.size();  // so that the target's is PATH_MAX - 1
  std::string deep = folder.path();
  while (deep.size() < wanted) {
    const size_t left = wanted - deep.size() - 1;  // after the separator
    deep += "/" + std::string(left > 250 ? 200 : left, 'd');
    std::filesystem::create_directory(deep);
  }
  for (const std::string& path : {deep + "/" + name, deep + "/" + name + "X"}) {
    ExchangeFileWriter writer(platform::Env::Default(), path);
    AddMany(writer);
    if (path.size() < PATH_MAX) {
      ASSERT_EQ(path.size(), PATH_MAX - 1u);
      writer.Commit();
      EXPECT_EQ(std::filesystem::file_size(path), ManyLinesFile().size());
    } else {
      EXPECT_EQ(ErrorOf([&] { writer.Commit(); }), CannotCreate(path, ENAMETOOLONG));
    }
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(deep), {}), 1);
}
#endif

}  // namespace
}  // namespace norvalde::exchange
