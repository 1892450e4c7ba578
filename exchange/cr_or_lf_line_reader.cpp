#include "exchange/cr_or_lf_line_reader.h"

#include "core/error.h"
#include "platform/system_errors.h"

namespace norvalde::exchange {

namespace {

constexpr size_t kBufferSize = 64 * 1024;

}  // namespace

CrOrLfLineReader::CrOrLfLineReader(platform::Env& env)
    : env_(env), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

CrOrLfLineReader::~CrOrLfLineReader() { CloseFile(); }

void CrOrLfLineReader::Open(const std::string& path) {
  CloseFile();
  position_ = filled_ = 0;
  size_ = 0;
  carried_.clear();
  skipLf_ = false;
  ended_ = true;
  const int error = env_.Open(path, platform::OpenMode::kReadSharedDenyWrite, file_);
  if (error != 0) {
    file_.reset();
    throw Error("Cannot open file \"" + path + "\". " + platform::SystemErrorText(error));
  }
  if (file_->Size(size_) != 0) size_ = 0;
  ended_ = false;
}

bool CrOrLfLineReader::Fill() {
  size_t got = 0;
  if (file_->Read(buffer_.get(), kBufferSize, got) != 0) {
    ended_ = true;
    CloseFile();
    throw Error("Stream read error");
  }
  position_ = 0;
  filled_ = got;
  return got > 0;
}

// Read only: a failing close loses nothing.
void CrOrLfLineReader::CloseFile() noexcept {
  if (file_) file_->Close();
  file_.reset();
}

bool CrOrLfLineReader::Next(std::string_view& line) {
  if (ended_) return false;
  carried_.clear();
  bool carrying = false;
  for (;;) {
    if (position_ == filled_ && !Fill()) {
      // The end of the file ends a last line that has no break, and starts no further one.
      ended_ = true;
      CloseFile();
      line = carried_;
      return !carried_.empty();
    }
    if (skipLf_) {
      skipLf_ = false;
      if (buffer_[position_] == '\n') {
        ++position_;
        continue;
      }
    }
    const char* begin = buffer_.get() + position_;
    const char* end = buffer_.get() + filled_;
    const char* p = begin;
    while (p != end && *p != '\r' && *p != '\n' && *p != '\0') ++p;
    if (p == end) {
      carried_.append(begin, end);
      carrying = true;
      position_ = filled_;
      continue;
    }
    position_ = static_cast<size_t>(p - buffer_.get()) + 1;
    if (carrying) carried_.append(begin, p);
    line = carrying ? std::string_view(carried_) : std::string_view(begin, p - begin);
    if (*p == '\0') {
      // The text ends here; what stands before the NUL is a last line when it holds anything.
      ended_ = true;
      CloseFile();
      return !line.empty();
    }
    skipLf_ = *p == '\r';
    return true;
  }
}

}  // namespace norvalde::exchange
