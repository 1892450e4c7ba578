#include "exchange/exchange_reader.h"

#include <bit>
#include <cstdint>
#include <cstring>

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

// The first of `p`..`end` that is LF, CR or Ctrl-Z, or `end`: where a line's text stops.
// Lines are short and this runs on every byte of the largest files, so the bytes are tested
// eight at a time, as one word, for the control bytes (below 0x20) that the three stops are:
// (x - 0x2020..20) & ~x & 0x8080..80 flags the bytes of x below 0x20. Only a borrow from such a
// byte can flag a byte above it, never one below, so the lowest byte flagged is the first
// control byte; when it is not a stop (a tab), the search goes on after it.
const char* FindStop(const char* p, const char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL, kHighBits = 0x8080808080808080ULL;
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const uint64_t controls = (word - kOnes * 0x20) & ~word & kHighBits;
    if (controls == 0) {
      p += 8;
      continue;
    }
    if constexpr (std::endian::native == std::endian::little) {
      p += std::countr_zero(controls) / 8;
    } else {
      p += std::countl_zero(controls) / 8;
    }
    if (*p == '\n' || *p == '\r' || *p == kCtrlZ) return p;
    ++p;
  }
  while (p != end && *p != '\n' && *p != '\r' && *p != kCtrlZ) ++p;
  return p;
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
    const char* p = FindStop(begin, end);
    line.append(begin, p);
    position_ += static_cast<size_t>(p - begin);
    if (p == end) continue;
    if (*p == kCtrlZ) return;
    ++position_;  // past the CR (dropped) or the LF (ends the line)
    if (*p == '\n') return;
    // The LF that most often follows a CR, taken at once.
    if (position_ < filled_ && buffer_[position_] == '\n') {
      ++position_;
      return;
    }
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
