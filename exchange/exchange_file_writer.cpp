#include "exchange/exchange_file_writer.h"

#include <algorithm>
#include <random>

#include "core/error.h"
#include "platform/system_errors.h"

namespace norvalde::exchange {

namespace {

// Bytes gathered before each write: few system calls, and little memory however long the file.
constexpr size_t kChunkSize = 64 * 1024;
constexpr int kFileExists = 80;  // the run-time code of a name that is taken
#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

[[noreturn]] void FailToCreate(const std::string& path, int systemError) {
  throw Error("Cannot create file \"" + path + "\". " + platform::SystemErrorText(systemError));
}

// A name for the temporary file beside the target: in the same folder, so the final rename
// never crosses file systems; no longer than the target's name, so its path fits wherever the
// target's does; random, so that it is no other file's name. A "~" and hexadecimal digits,
// ending in ".tmp" where there is room ("~1f3a9c04b7e.tmp" beside "ROVA_HORARIO.TXT").
std::string TemporaryName(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  const size_t nameStart = target.find_last_of(kSeparators) + 1;  // 0 when there is none
  const size_t length = std::max<size_t>(target.size() - nameStart, 1);
  const std::string ending = length >= 9 ? ".tmp" : "";
  std::string name = target.substr(0, nameStart) + "~";
  for (size_t digits = length - 1 - ending.size(); digits > 0; --digits) {
    name += kDigits[random() % 16];
  }
  return name + ending;
}

// Creates the temporary file: a new file that this writer alone made. A name taken already
// (the odds are tiny) is simply passed over for another.
int CreateTemporary(platform::Env& env, const std::string& target, std::string& temporary,
                    std::unique_ptr<platform::File>& file) {
  int error = 0;
  for (int attempt = 0; attempt < 8; ++attempt) {
    temporary = TemporaryName(target);
    error = env.Open(temporary, platform::OpenMode::kCreateTemporary, file);
    if (platform::RuntimeErrorCode(error) != kFileExists) return error;
  }
  return error;
}

}  // namespace

ExchangeFileWriter::ExchangeFileWriter(platform::Env& env, std::string path)
    : env_(env), path_(std::move(path)), buffer_(kChunkSize) {}

ExchangeFileWriter::~ExchangeFileWriter() { Abandon(); }

// The buffer is written out when the next line does not fit; a line longer than the whole
// buffer grows it.
void ExchangeFileWriter::MakeRoom(size_t size) {
  Flush();
  if (size > buffer_.size()) buffer_.resize(size);
}

void ExchangeFileWriter::Flush() {
  if (!created_) Create();
  if (used_ > 0 && file_ && !writeFailed_) writeFailed_ = file_->Write(buffer_.data(), used_) != 0;
  used_ = 0;
}

void ExchangeFileWriter::Create() {
  created_ = true;
  // Exactly the name asked: a file whose name differs only in case is another file, left alone.
  const std::string& target = path_;

  // Another process still holding the old file open refuses the save now, before anything
  // is written.
  if (env_.FileExists(target) || env_.FolderExists(target)) {
    std::unique_ptr<platform::File> held;
    createError_ = env_.Open(target, platform::OpenMode::kReadExclusive, held);
    if (createError_ != 0) return;
    held->Close();
  }

  createError_ = CreateTemporary(env_, target, temporary_, file_);
  if (createError_ != 0) file_.reset();
}

void ExchangeFileWriter::Commit() {
  Flush();
  if (createError_ != 0) FailToCreate(path_, createError_);
  bool written = !writeFailed_;
  if (written) written = file_->Sync() == 0;
  // Closing gives the file its name where it had none: a name taken meanwhile is no short
  // write but a file that could not be made.
  const int closed = file_->Close();
  file_.reset();
  if (closed != 0) written = false;
  if (!written) {
    env_.DeleteFile(temporary_);
    temporary_.clear();
    if (platform::RuntimeErrorCode(closed) == kFileExists) FailToCreate(path_, closed);
    throw Error("Stream write error");
  }

  const int error = env_.RenameFile(temporary_, path_);
  if (error != 0) {
    env_.DeleteFile(temporary_);
    temporary_.clear();
    FailToCreate(path_, error);
  }
  temporary_.clear();
  // The new name itself must survive a power cut, not only the bytes under it.
  const size_t separator = path_.find_last_of(kSeparators);
  const int synced =
      env_.SyncFolder(separator == std::string::npos ? "." : path_.substr(0, separator + 1));
  if (synced != 0) FailToCreate(path_, synced);
}

// A writer given up before its file is complete removes the temporary file; the target was
// never touched.
void ExchangeFileWriter::Abandon() noexcept {
  if (file_) {
    file_->Close();
    file_.reset();
  }
  if (!temporary_.empty() && createError_ == 0) env_.DeleteFile(temporary_);
  temporary_.clear();
}

}  // namespace norvalde::exchange
