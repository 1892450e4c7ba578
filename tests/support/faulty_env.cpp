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

}  // namespace norvalde::testing
