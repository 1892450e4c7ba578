// Reads a ROVA exchange file line by line, holding one line at a time.
//
// A line ends at LF. CR never belongs to a line (dropped wherever it stands); NUL is an
// ordinary byte; Ctrl-Z (0x1A) at the start of a line ends the input, elsewhere it ends the
// line's text. The file is read through a buffer, never a system call per byte.
// Every failure throws norvalde::Error with the run-time library's input/output message
// ("No se encuentra el archivo", "Error de E/S 32", ...).
#pragma once

#include <memory>
#include <string>

#include "platform/env.h"

namespace norvalde::exchange {

class ExchangeReader {
 public:
  explicit ExchangeReader(platform::Env& env);
  ~ExchangeReader();
  ExchangeReader(const ExchangeReader&) = delete;
  ExchangeReader& operator=(const ExchangeReader&) = delete;

  // Opens an existing file; others may read it meanwhile but not write it.
  void Open(const std::string& path);
  // True when no byte is left or the next byte is Ctrl-Z.
  bool AtEnd();
  // The bytes up to the next LF, without CR; moves past the LF.
  std::string ReadLine();
  // The same into `line`, whose storage is reused from line to line.
  void ReadLine(std::string& line);
  void Close();

 private:
  bool Fill();  // refills the buffer; false at the end of the file

  platform::Env& env_;
  std::unique_ptr<platform::File> file_;
  std::unique_ptr<char[]> buffer_;  // uninitialized: only what a read filled is looked at
  size_t position_ = 0;
  size_t filled_ = 0;
  bool endOfFile_ = false;
};

}  // namespace norvalde::exchange
