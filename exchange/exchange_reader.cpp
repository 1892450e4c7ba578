#include "exchange/exchange_reader.h"

#include "core/error.h"
#include "platform/system_errors.h"

namespace norvalde::exchange {

namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr char kCtrlZ = 0x1A;
// The library's code for an operation on a file that is not open.
constexpr int kFileNotOpen = 103;

[[noreturn]] void FailWithCode(int runtimeCode) {
  throw Error(platform::InOutErrorMessage(runtimeCode));
}

[[noreturn]] void FailWithSystemError(int systemError) {
  FailWithCode(platform::RuntimeErrorCode(systemError));
}

}  // namespace

ExchangeReader::ExchangeReader(platform::Env& env)
    : env_(env), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

ExchangeReader::~ExchangeReader() {
  if (file_) file_->Close();  // nothing was written, so a failing close loses nothing
}

void ExchangeReader::Open(const std::string& path) {
  if (file_) Close();
  position_ = filled_ = 0;
  endOfFile_ = false;
  int error = env_.Open(path, platform::OpenMode::kReadSharedDenyWrite, file_);
  if (error != 0) {
    file_.reset();
    FailWithSystemError(error);
  }
}

bool ExchangeReader::Fill() {
  if (!file_) FailWithCode(kFileNotOpen);
  if (endOfFile_) return false;
  size_t got = 0;
  int error = file_->Read(buffer_.get(), kBufferSize, got);
  if (error != 0) FailWithSystemError(error);
  position_ = 0;
  filled_ = got;
  endOfFile_ = got == 0;
  return !endOfFile_;
}

bool ExchangeReader::AtEnd() {
  if (position_ == filled_ && !Fill()) return true;
  return buffer_[position_] == kCtrlZ;
}

// A Ctrl-Z is the end-of-text mark: the line's text stops there and the mark stays unread,
// so AtEnd reports the end of the input and nothing after it is ever read.
std::string ExchangeReader::ReadLine() {
  std::string line;
  ReadLine(line);
  return line;
}

void ExchangeReader::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    if (position_ == filled_ && !Fill()) return;
    const char* begin = buffer_.get() + position_;
    const char* end = buffer_.get() + filled_;
    const char* p = begin;
    while (p != end && *p != '\n' && *p != '\r' && *p != kCtrlZ) ++p;
    line.append(begin, p);
    position_ += static_cast<size_t>(p - begin);
    if (p == end) continue;
    if (*p == kCtrlZ) return;
    ++position_;  // past the CR (dropped) or the LF (ends the line)
    if (*p == '\n') return;
  }
}

void ExchangeReader::Close() {
  if (!file_) return;
  std::unique_ptr<platform::File> file = std::move(file_);
  position_ = filled_ = 0;
  endOfFile_ = false;
  int error = file->Close();
  if (error != 0) FailWithSystemError(error);
}

}  // namespace norvalde::exchange
