// Share modes stand for the locks: who may open a file while another handle holds it.
#include <gtest/gtest.h>

#include <string>

#include "exchange/exchange_line_list.h"
#include "exchange/exchange_reader.h"
#include "platform/env.h"
#include "tables/table.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_folder.h"
#include "tests/support/write_table.h"
#include "tests/windows/wide_path.h"

namespace norvalde {
namespace {

using platform::Env;
using norvalde::testing::ErrorOf;
using norvalde::testing::TempFolder;

// Another program's handle on the file, opened with the system's call.
class OtherHandle {
 public:
  OtherHandle(const std::wstring& path, DWORD access, DWORD share)
      : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)),
        error_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0) {}
  ~OtherHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  DWORD error() const { return error_; }

 private:
  HANDLE handle_;
  DWORD error_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class SharingWindows : public ::testing::Test {
 protected:
  Env& env_ = Env::Default();
  TempFolder folder_;
  std::string path_ = folder_.WriteFile("rova_asignat.txt", "0\r\n1ABC\r\n");
  std::wstring widePath_ = testing::WidePath(path_);
};

TEST_F(SharingWindows, AFileHeldForWritingCannotBeRead) {
  OtherHandle writer(widePath_, GENERIC_WRITE, kShareAll);
  ASSERT_EQ(writer.error(), 0u);

  exchange::ExchangeReader reader(env_);
  EXPECT_EQ(ErrorOf([&] { reader.Open(path_); }), "Error de E/S 32");

  exchange::ExchangeLineList lines(env_);
  const std::string error = ErrorOf([&] { lines.LoadFromFile(path_); });
  const std::string prefix = "Cannot open file \"" + path_ + "\". ";
  EXPECT_EQ(error.rfind(prefix, 0), 0u) << error;
  EXPECT_GT(error.size(), prefix.size()) << "no system text";
}

TEST_F(SharingWindows, WhileReadOthersMayReadButNotWrite) {
  exchange::ExchangeReader reader(env_);
  reader.Open(path_);
  EXPECT_EQ(OtherHandle(widePath_, GENERIC_READ, kShareAll).error(), 0u);
  EXPECT_EQ(OtherHandle(widePath_, GENERIC_WRITE, kShareAll).error(),
            static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(reader.ReadLine(), "0");
  reader.Close();
  EXPECT_EQ(OtherHandle(widePath_, GENERIC_WRITE, kShareAll).error(), 0u);
}

// The table engine's locks are share modes too: another program's handle on a table keeps
// an exclusive open out, and a table we hold exclusively keeps the other program out.
TEST_F(SharingWindows, ATableAnotherProgramHoldsIsInUse) {
  testing::WriteTable(env_, folder_.Carpeta(), "SOLUC.DBF", {{"DIA", tables::FieldType::kInteger}},
                      {});
  const std::string table = folder_.Carpeta() + "SOLUC.DBF";
  {
    OtherHandle other(testing::WidePath(table), GENERIC_READ | GENERIC_WRITE, kShareAll);
    ASSERT_EQ(other.error(), 0u);
    tables::Table soluc(env_);
    const std::string error = ErrorOf([&] {
      soluc.Open(folder_.Carpeta(), "SOLUC", tables::Sharing::kExclusive,
                 tables::Access::kReadWrite);
    });
    EXPECT_NE(error.find("en uso"), std::string::npos) << error;
    EXPECT_NE(error.find("SOLUC.DBF"), std::string::npos) << error;
  }
  tables::Table soluc(env_);
  soluc.Open(folder_.Carpeta(), "SOLUC", tables::Sharing::kExclusive, tables::Access::kReadWrite);
  EXPECT_EQ(OtherHandle(testing::WidePath(table), GENERIC_READ, kShareAll).error(),
            static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

}  // namespace
}  // namespace norvalde
