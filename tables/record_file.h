// The records of one open table file, read and written in blocks.
//
// Rows are read and written in blocks of about 256 KiB, so walking and appending cost a system
// call per block, not per row. At most one block is cached; a changed block is written when
// another one is needed and at Flush. Whenever rows have been added, the write of the block is
// followed by the end-of-file marker and the header's date and count, so the file on disk is
// always a valid table holding exactly the rows written. A failed write forgets the rows that
// did not reach the disk (count() shrinks back) and cuts anything written past them. A table
// written to is synced before it is closed, so once a run says it is done its rows survive a
// power cut; so is an empty one opened for writing, which may be a table just created (Create
// leaves the sync to the close that follows: one sync per new table, not two).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/env.h"
#include "tables/dbf_header.h"

namespace norvalde::tables {

class RecordFile {
 public:
  // `file` holds `rows` whole records after the header `layout` describes; `writable`: it was
  // opened for writing.
  RecordFile(platform::Env& env, std::string path, std::unique_ptr<platform::File> file,
             DbfLayout layout, uint32_t rows, bool writable);

  const std::string& path() const { return path_; }
  const DbfLayout& layout() const { return layout_; }
  // Rows of the table, buffered ones included.
  uint32_t count() const { return count_; }

  // The record `index` (< count()), layout().recordLength bytes, valid until the next call.
  const char* Record(uint32_t index);
  // Replaces the record `index` (< count()), or adds it as the new last row (== count()).
  void Store(uint32_t index, const char* record);
  // Writes the changed block, the end marker and the header's count. Throws on failure.
  void Flush();
  // Flush and the sync, then closes the file whatever happened.
  void Close();

 private:
  bool InCache(uint32_t index) const;
  uint64_t RecordOffset(uint64_t index) const;
  int WriteHeaderCount(uint32_t count);
  void RestoreStoredRows();
  [[noreturn]] void ThrowWriteError(int error) const;

  platform::Env& env_;
  std::string path_;
  std::unique_ptr<platform::File> file_;
  DbfLayout layout_;
  bool writable_;
  uint32_t count_;        // rows of the table, buffered ones included
  uint32_t storedCount_;  // rows the header on disk counts
  size_t capacity_;       // rows per cached block
  std::string cache_;     // records cacheFirst_ .. cacheFirst_ + cacheRows_ - 1
  uint32_t cacheFirst_ = 0;
  uint32_t cacheRows_ = 0;
  bool dirty_ = false;
  bool written_ = false;  // anything written since the table was opened
};

}  // namespace norvalde::tables
