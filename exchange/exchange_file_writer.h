// A ROVA exchange file written line by line as it is produced, without holding it whole.
//
// Lines go into one buffer and from there, a buffer at a time, into a temporary file beside
// the target; Commit makes the complete file the target in one rename. Until then the target
// keeps whatever it held, and a writer given up (destroyed before Commit, a failed Commit
// included) removes its temporary file, so no partial file is ever left.
//
// The temporary file is made only when the first buffer is full, or at Commit. A failure to
// make it or to write it is kept and raised by Commit, so a run that fails for another reason
// meanwhile reports that reason, as it would had the file been written only at the end.
//
// A line can be built straight in the buffer: LineSpace gives room for it, EndLine ends it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace norvalde::exchange {

class ExchangeFileWriter {
 public:
  ExchangeFileWriter(platform::Env& env, std::string path);
  ~ExchangeFileWriter();
  ExchangeFileWriter(const ExchangeFileWriter&) = delete;
  ExchangeFileWriter& operator=(const ExchangeFileWriter&) = delete;

  // Adds the line; CR LF follows it in the file.
  void Add(std::string_view line) {
    char* at = LineSpace(line.size());
    if (!line.empty()) std::char_traits<char>::copy(at, line.data(), line.size());
    EndLine(at + line.size());
  }
  // Room for a line of at most `size` bytes, valid until EndLine.
  char* LineSpace(size_t size) {
    if (used_ + size + 2 > buffer_.size()) MakeRoom(size + 2);
    return buffer_.data() + used_;
  }
  // Ends the line begun at the last LineSpace, its bytes ending at `end`.
  void EndLine(char* end) {
    end[0] = '\r';
    end[1] = '\n';
    used_ = static_cast<size_t>(end + 2 - buffer_.data());
    ++count_;
  }
  // The number of lines added.
  int Count() const { return count_; }

  // Writes what is left, syncs and renames the file over the target. Fails with
  // "Cannot create file "<path>". <system text>" or "Stream write error", leaving the target
  // as it was and no temporary file.
  void Commit();

 private:
  void MakeRoom(size_t size);
  void Flush();
  void Create();
  void Abandon() noexcept;

  platform::Env& env_;
  const std::string path_;
  std::vector<char> buffer_;
  size_t used_ = 0;
  int count_ = 0;
  bool created_ = false;   // Create ran, whatever it gave
  int createError_ = 0;    // the system's error when the file could not be made
  bool writeFailed_ = false;
  std::string temporary_;
  std::unique_ptr<platform::File> file_;
};

}  // namespace norvalde::exchange
