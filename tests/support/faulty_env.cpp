#include "tests/support/faulty_env.h"

namespace norvalde::testing {

namespace {

class FaultyFile : public platform::FileWrapper {
 public:
  FaultyFile(std::unique_ptr<platform::File> file, std::shared_ptr<FaultyEnv::State> state)
      : FileWrapper(std::move(file)), state_(std::move(state)) {}

  int Read(char* buffer, size_t want, size_t& got) override {
    got = 0;
    if (int error = state_->Next(Operation::kRead)) return error;
    return FileWrapper::Read(buffer, want, got);
  }
  int Write(const char* data, size_t size) override {
    if (int error = state_->Next(Operation::kWrite)) return error;
    return FileWrapper::Write(data, size);
  }
  int Sync() override {
    if (int error = state_->Next(Operation::kSync)) return error;
    return FileWrapper::Sync();
  }
  int Close() override {
    // The real file is closed even when the call is made to fail, so nothing leaks.
    int error = state_->Next(Operation::kClose);
    int closed = FileWrapper::Close();
    return error ? error : closed;
  }

 private:
  std::shared_ptr<FaultyEnv::State> state_;
};

}  // namespace

int FaultyEnv::State::Next(Operation operation) {
  const size_t i = static_cast<size_t>(operation);
  ++calls[i];
  if (failAt[i] == -1 || failAt[i] == calls[i]) return error[i];
  return 0;
}

void FaultyEnv::FailNth(Operation operation, int nth, int error) {
  state_->failAt[Index(operation)] = state_->calls[Index(operation)] + nth;
  state_->error[Index(operation)] = error;
}

void FaultyEnv::FailAlways(Operation operation, int error) {
  state_->failAt[Index(operation)] = -1;
  state_->error[Index(operation)] = error;
}

int FaultyEnv::Open(const std::string& path, platform::OpenMode mode,
                    std::unique_ptr<platform::File>& file) {
  file.reset();
  if (!Watched(path)) return EnvWrapper::Open(path, mode, file);
  if (int error = state_->Next(Operation::kOpen)) return error;
  std::unique_ptr<platform::File> real;
  int error = EnvWrapper::Open(path, mode, real);
  if (error == 0) file = std::make_unique<FaultyFile>(std::move(real), state_);
  return error;
}

int FaultyEnv::DeleteFile(const std::string& path) {
  if (!Watched(path)) return EnvWrapper::DeleteFile(path);
  if (int error = state_->Next(Operation::kDelete)) return error;
  return EnvWrapper::DeleteFile(path);
}

int FaultyEnv::RenameFile(const std::string& from, const std::string& to) {
  if (!Watched(from)) return EnvWrapper::RenameFile(from, to);
  if (int error = state_->Next(Operation::kRename)) return error;
  return EnvWrapper::RenameFile(from, to);
}

int FaultyEnv::MakeFolder(const std::string& path) {
  if (!Watched(path)) return EnvWrapper::MakeFolder(path);
  if (int error = state_->Next(Operation::kMakeFolder)) return error;
  return EnvWrapper::MakeFolder(path);
}

int FaultyEnv::RemoveFolder(const std::string& path) {
  if (!Watched(path)) return EnvWrapper::RemoveFolder(path);
  if (int error = state_->Next(Operation::kRemoveFolder)) return error;
  return EnvWrapper::RemoveFolder(path);
}

int FaultyEnv::MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (!Watched(from)) return EnvWrapper::MoveWithoutReplacing(from, to);
  if (int error = state_->Next(Operation::kMove)) return error;
  return EnvWrapper::MoveWithoutReplacing(from, to);
}

int FaultyEnv::ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) {
  entries.clear();
  if (!Watched(path)) return EnvWrapper::ListFolder(path, entries);
  if (int error = state_->Next(Operation::kList)) return error;
  return EnvWrapper::ListFolder(path, entries);
}

}  // namespace norvalde::testing
