#include "tables/record_file.h"

#include <algorithm>
#include <cstring>

#include "tables/file_reads.h"
#include "tables/table_errors.h"

namespace norvalde::tables {
namespace {

constexpr size_t kBlockBytes = 256 * 1024;
constexpr char kEndOfFile = 0x1A;

}  // namespace

RecordFile::RecordFile(platform::Env& env, std::string path,
                       std::unique_ptr<platform::File> file, DbfLayout layout, uint32_t rows,
                       bool writable)
    : env_(env),
      path_(std::move(path)),
      file_(std::move(file)),
      layout_(std::move(layout)),
      writable_(writable),
      count_(rows),
      storedCount_(rows),
      capacity_(std::max<size_t>(1, kBlockBytes / layout_.recordLength)) {}

bool RecordFile::InCache(uint32_t index) const {
  return index >= cacheFirst_ && index - cacheFirst_ < cacheRows_;
}

uint64_t RecordFile::RecordOffset(uint64_t index) const {
  return layout_.headerLength + index * layout_.recordLength;
}

const char* RecordFile::Record(uint32_t index) {
  if (!InCache(index)) {
    Flush();
    const size_t rows = std::min<size_t>(capacity_, count_ - index);
    cache_.resize(rows * layout_.recordLength);
    cacheFirst_ = index;
    cacheRows_ = 0;
    size_t got = 0;
    int error = file_->Seek(RecordOffset(index));
    if (error == 0) error = ReadFully(*file_, cache_.data(), cache_.size(), got);
    if (error != 0) ThrowTableError("No se puede leer la tabla", path_, FileErrorCause(error));
    if (got < cache_.size()) {
      ThrowTableError("No se puede leer la tabla", path_, "el archivo se ha acortado");
    }
    cacheRows_ = static_cast<uint32_t>(rows);
  }
  return cache_.data() + static_cast<size_t>(index - cacheFirst_) * layout_.recordLength;
}

// Over a cached record, after the cached block when it has room (appending), or in a new block.
void RecordFile::Store(uint32_t index, const char* record) {
  const size_t length = layout_.recordLength;
  if (!InCache(index)) {
    const bool extendsCache = index == cacheFirst_ + cacheRows_ && cacheRows_ < capacity_ &&
                              index == count_;
    if (!extendsCache) {
      if (index < count_) {
        Record(index);
      } else {
        Flush();
        cache_.clear();
        cacheFirst_ = index;
        cacheRows_ = 0;
      }
    }
    if (!InCache(index)) {  // a new last row, after the block's: copied in as it is added
      cache_.append(record, length);
      ++cacheRows_;
      ++count_;
      dirty_ = true;
      return;
    }
  }
  std::memcpy(cache_.data() + static_cast<size_t>(index - cacheFirst_) * length, record, length);
  if (index == count_) ++count_;
  dirty_ = true;
}

void RecordFile::Flush() {
  if (!dirty_) return;
  dirty_ = false;
  const bool reachesEnd = cacheFirst_ + cacheRows_ == count_;
  const bool grew = count_ != storedCount_;
  const size_t dataSize = static_cast<size_t>(cacheRows_) * layout_.recordLength;
  if (reachesEnd) cache_.push_back(kEndOfFile);
  int error = file_->Seek(RecordOffset(cacheFirst_));
  if (error == 0) error = file_->Write(cache_.data(), cache_.size());
  if (reachesEnd) cache_.resize(dataSize);
  if (error == 0 && grew) error = WriteHeaderCount(count_);
  written_ = true;
  if (error != 0) {
    RestoreStoredRows();
    ThrowWriteError(error);
  }
  storedCount_ = count_;
}

void RecordFile::Close() {
  try {
    Flush();
  } catch (...) {
    file_->Close();
    throw;
  }
  int error = written_ || (writable_ && count_ == 0) ? file_->Sync() : 0;
  if (int closeError = file_->Close(); error == 0) error = closeError;
  if (error != 0) ThrowWriteError(error);
}

int RecordFile::WriteHeaderCount(uint32_t count) {
  const platform::LocalTime now = env_.Now();
  const std::string bytes = DbfDateAndCount(now.year, now.month, now.day, count);
  int error = file_->Seek(1);
  return error != 0 ? error : file_->Write(bytes.data(), bytes.size());
}

// Readers that ignore the header's count must see no half-stored rows either.
void RecordFile::RestoreStoredRows() {
  count_ = storedCount_;
  cacheRows_ = 0;
  cache_.clear();
  if (file_->Truncate(RecordOffset(storedCount_)) == 0 &&
      file_->Seek(RecordOffset(storedCount_)) == 0) {
    file_->Write(&kEndOfFile, 1);
  }
}

void RecordFile::ThrowWriteError(int error) const {
  ThrowTableError("No se puede escribir en la tabla", path_, FileErrorCause(error));
}

}  // namespace norvalde::tables
