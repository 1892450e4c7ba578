// A text file written line by line through a large buffer, each line ended by CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace norvalde::bench {

class LineFile {
 public:
  // Creates or truncates the file; throws std::runtime_error naming it when that fails.
  explicit LineFile(const std::string& path);
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  void Write(std::string_view line);
  void WriteBytes(std::string_view bytes);
  // Flushes the buffer and the system's cache to the device.
  void Sync();
  // Flushes and closes; throws when a byte could not be written.
  void Close();

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

// Flushes a folder's entries (a new or renamed name in it) to the device; throws naming it.
void SyncFolder(const std::string& path);

}  // namespace norvalde::bench
