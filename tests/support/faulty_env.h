// The real system, except that chosen operations fail: the k-th call of a kind (counted from
// 1 over the whole life of the object, across every file it opened) returns a chosen error
// number instead of doing its work.
#pragma once

#include <array>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"

namespace norvalde::testing {

enum class Operation {
  kOpen, kRead, kWrite, kSync, kClose, kDelete, kRename,
  kMakeFolder, kRemoveFolder, kMove, kList, kCount
};

class FaultyEnv : public platform::EnvWrapper {
 public:
  explicit FaultyEnv(platform::Env& target = platform::Env::Default()) : EnvWrapper(target) {}

  // The `nth` call of `operation` from now on fails with `error`; later calls work again.
  void FailNth(Operation operation, int nth, int error = EIO);
  // Every call of `operation` fails with `error`.
  void FailAlways(Operation operation, int error = EIO);
  // From now on only the files whose path ends with `suffix` are watched: calls on others
  // are neither counted nor made to fail.
  void WatchOnly(std::string suffix) { watched_ = std::move(suffix); }
  // How many calls of `operation` were made so far.
  int Calls(Operation operation) const { return state_->calls[Index(operation)]; }

  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override;
  int DeleteFile(const std::string& path) override {
    return Checked(Operation::kDelete, path, [&] { return EnvWrapper::DeleteFile(path); });
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    return Checked(Operation::kRename, from, [&] { return EnvWrapper::RenameFile(from, to); });
  }
  int MakeFolder(const std::string& path) override {
    return Checked(Operation::kMakeFolder, path, [&] { return EnvWrapper::MakeFolder(path); });
  }
  int RemoveFolder(const std::string& path) override {
    return Checked(Operation::kRemoveFolder, path, [&] { return EnvWrapper::RemoveFolder(path); });
  }
  int MoveWithoutReplacing(const std::string& from, const std::string& to) override {
    return Checked(Operation::kMove, from,
                   [&] { return EnvWrapper::MoveWithoutReplacing(from, to); });
  }
  int ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) override {
    return Checked(Operation::kList, path, [&] { return EnvWrapper::ListFolder(path, entries); });
  }

  // Shared with the files this object opened, which may outlive a call but not the object.
  struct State {
    std::array<int, static_cast<size_t>(Operation::kCount)> calls{};
    std::array<int, static_cast<size_t>(Operation::kCount)> failAt{};  // 0: never, -1: always
    std::array<int, static_cast<size_t>(Operation::kCount)> error{};
    // The error for this call of `operation`, or 0 when it is to run.
    int Next(Operation operation);
  };

 private:
  static size_t Index(Operation operation) { return static_cast<size_t>(operation); }
  bool Watched(const std::string& path) const { return path.ends_with(watched_); }
  // Makes `call` on `path` unless this call of `operation` is to fail.
  template <typename Call>
  int Checked(Operation operation, const std::string& path, Call&& call) {
    if (!Watched(path)) return call();
    if (int error = state_->Next(operation)) return error;
    return call();
  }

  std::shared_ptr<State> state_ = std::make_shared<State>();
  std::string watched_;  // empty: every file
};

}  // namespace norvalde::testing
