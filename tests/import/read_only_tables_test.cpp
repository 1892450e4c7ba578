// Tables that cannot be written, because the file refuses it or because the whole file system
// is mounted read-only: the Import only reads them, so either way it completes.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>

#include "import_work_folder.h"

namespace norvalde::importing::testing {
namespace {

// The work folder as on a read-only mount: every open there that would write fails with the
// given error, as the system does.
class ReadOnlyWorkFolder : public platform::EnvWrapper {
 public:
  ReadOnlyWorkFolder(platform::Env& target, std::string workFolder, int error)
      : EnvWrapper(target), workFolder_(std::move(workFolder)), error_(error) {}
  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    const bool writes = mode != platform::OpenMode::kReadSharedDenyWrite &&
                        mode != platform::OpenMode::kReadShared;
    if (writes && path.rfind(workFolder_, 0) == 0) return error_;
    return EnvWrapper::Open(path, mode, file);
  }

 private:
  std::string workFolder_;
  int error_;
};

TEST(ReadOnlyTables, TheImportReadsTablesOnAReadOnlyMountAsItReadsReadOnlyFiles) {
  for (int error : {EROFS, EACCES}) {
    ImportWorkFolder folder;
    folder.Prepare('L', {{"L", "1", "S011"}}, {{"1", "1", "P01", "1ESA", "MAT", "A12"}});
    ReadOnlyWorkFolder env(folder.env(), folder.workFolder(), error);
    folder.RunWith(env, folder.messages);
    EXPECT_EQ(folder.messages.messages, std::vector<std::string>{"Proceso Terminado"})
        << error;
    EXPECT_NE(folder.ReadOutput().find("1S011LP01 1ESALEC MAT A12 "), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace norvalde::importing::testing
