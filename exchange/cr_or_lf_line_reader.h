// A ROVA exchange file's lines one at a time, split by the rule ExchangeLineList loads by: a
// line ends at CR, at LF or at the pair CR LF; a NUL ends the text; Ctrl-Z is an ordinary byte;
// a final break starts no further line. ExchangeLineList keeps every line it gives; a caller
// that looks at each line once, in order, keeps little, since the file is read through one
// buffer and never whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace norvalde::exchange {

class CrOrLfLineReader {
 public:
  explicit CrOrLfLineReader(platform::Env& env);
  ~CrOrLfLineReader();
  CrOrLfLineReader(const CrOrLfLineReader&) = delete;
  CrOrLfLineReader& operator=(const CrOrLfLineReader&) = delete;

  // Others may read the file meanwhile but not write it. Fails with
  // "Cannot open file "<path>". <system text>".
  void Open(const std::string& path);
  // The file's length when it was opened (0 when the system could not tell): room enough for
  // every line of the file.
  uint64_t Size() const { return size_; }
  // The next line, valid until the next call; false after the last. A read that fails throws
  // "Stream read error". The file is closed once its end is reached.
  bool Next(std::string_view& line);

 private:
  bool Fill();
  void CloseFile() noexcept;

  platform::Env& env_;
  std::unique_ptr<platform::File> file_;
  std::unique_ptr<char[]> buffer_;  // uninitialized: only what a read filled is looked at
  size_t position_ = 0;
  size_t filled_ = 0;
  uint64_t size_ = 0;
  std::string carried_;   // the start of a line that runs past the buffer
  bool skipLf_ = false;   // the last line ended at CR: an LF right after it is the same break
  bool ended_ = true;
};

}  // namespace norvalde::exchange
