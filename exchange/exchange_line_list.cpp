#include "exchange/exchange_line_list.h"

#include "platform/error.h"
#include "platform/system_errors.h"

namespace norvalde::exchange {

namespace {

constexpr size_t kChunkSize = 64 * 1024;

[[noreturn]] void FailToOpen(const std::string& path, int systemError) {
  throw Error("Cannot open file \"" + path + "\". " + platform::SystemErrorText(systemError));
}

[[noreturn]] void FailToCreate(const std::string& path, int systemError) {
  throw Error("Cannot create file \"" + path + "\". " + platform::SystemErrorText(systemError));
}

// Reads straight into the string, sized by the file's length; a file that grows meanwhile is
// read to its new end.
std::string ReadWholeFile(platform::File& file) {
  uint64_t size = 0;
  std::string content(file.Size(size) == 0 ? static_cast<size_t>(size) : 0, '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == content.size()) content.resize(filled + kChunkSize);
    size_t got = 0;
    if (file.Read(content.data() + filled, content.size() - filled, got) != 0) {
      throw Error("Stream read error");
    }
    if (got == 0) break;
    filled += got;
  }
  content.resize(filled);
  return content;
}

// Lines end at CR, LF or CR LF; a NUL ends the text; a final break starts no further line.
std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  const size_t end = content.find('\0');
  const size_t length = end == std::string::npos ? content.size() : end;
  size_t start = 0;
  while (start < length) {
    size_t stop = start;
    while (stop < length && content[stop] != '\r' && content[stop] != '\n') ++stop;
    lines.emplace_back(content, start, stop - start);
    start = stop;
    if (start == length) break;
    const bool pair = content[start] == '\r' && start + 1 < length && content[start + 1] == '\n';
    start += pair ? 2 : 1;
  }
  return lines;
}

// A name for the temporary file beside the target: same folder, so the final rename never
// crosses file systems.
std::string TemporaryName(const std::string& target) { return target + ".tmp"; }

}  // namespace

void ExchangeLineList::LoadFromFile(const std::string& path) {
  std::unique_ptr<platform::File> file;
  int error = env_.Open(path, platform::OpenMode::kReadSharedDenyWrite, file);
  if (error != 0) FailToOpen(path, error);
  std::string content = ReadWholeFile(*file);
  file->Close();  // read only: a failing close loses nothing
  lines_ = SplitLines(content);
}

const std::string& ExchangeLineList::Line(int index) const {
  if (index < 0 || index >= Count()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return lines_[static_cast<size_t>(index)];
}

void ExchangeLineList::SaveToFile(const std::string& path) const {
  // A file already there under another case is the one replaced.
  const std::string target = env_.FindFileIgnoringCase(path);

  // Another process still holding the old file open refuses the save now, before anything
  // is written.
  if (env_.FileExists(target) || env_.FolderExists(target)) {
    std::unique_ptr<platform::File> held;
    int error = env_.Open(target, platform::OpenMode::kReadExclusive, held);
    if (error != 0) FailToCreate(path, error);
    held->Close();
  }

  const std::string temporary = TemporaryName(target);
  std::unique_ptr<platform::File> file;
  int error = env_.Open(temporary, platform::OpenMode::kCreateExclusive, file);
  if (error != 0) FailToCreate(path, error);

  std::string chunk;
  chunk.reserve(kChunkSize);
  bool written = true;
  for (const std::string& line : lines_) {
    chunk += line;
    chunk += "\r\n";
    if (chunk.size() >= kChunkSize) {
      written = file->Write(chunk.data(), chunk.size()) == 0;
      if (!written) break;
      chunk.clear();
    }
  }
  if (written && !chunk.empty()) written = file->Write(chunk.data(), chunk.size()) == 0;
  if (written) written = file->Sync() == 0;
  if (file->Close() != 0) written = false;
  if (!written) {
    env_.DeleteFile(temporary);
    throw Error("Stream write error");
  }

  error = env_.RenameFile(temporary, target);
  if (error != 0) {
    env_.DeleteFile(temporary);
    FailToCreate(path, error);
  }
}

}  // namespace norvalde::exchange
