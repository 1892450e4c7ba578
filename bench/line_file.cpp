#include "bench/line_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace norvalde::bench {

LineFile::LineFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
  if (file_ == nullptr) throw std::runtime_error("cannot create " + path);
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
}

LineFile::~LineFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void LineFile::Write(std::string_view line) {
  WriteBytes(line);
  WriteBytes("\r\n");
}

void LineFile::WriteBytes(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    throw std::runtime_error("cannot write " + path_);
}

void LineFile::Sync() {
  if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0)
    throw std::runtime_error("cannot write " + path_);
}

void LineFile::Close() {
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path_);
}

void SyncFolder(const std::string& path) {
  int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY);
  bool synced = folder >= 0 && fsync(folder) == 0;
  if (folder >= 0) close(folder);
  if (!synced) throw std::runtime_error("cannot sync " + path);
}

}  // namespace norvalde::bench
