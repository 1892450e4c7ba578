// The current row of an open table and the walk over the rows: which row is current, the copy
// of it that is read and changed, and whether it is being edited or appended.
//
// Browse: the current row is a stored row, or no row at the end (it reads empty). Append and
// Edit leave browsing: Append starts a new row with every field empty, Edit makes the current
// row changeable. Post stores that row and returns to browsing; First and Next post a pending
// row first. Field bytes can be changed only while editing or appending.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/dbf_values.h"
#include "tables/record_file.h"

namespace norvalde::tables {

class Cursor {
 public:
  // `codePage` is the table's; its text reads as Windows-1252. `writable`: whether Append and
  // Edit are allowed.
  Cursor(RecordFile& file, bool writable, int codePage);

  bool StoresWindows1252() const { return codePage_ == 1252; }

  void First();
  void Next();
  bool AtEnd() const;
  void Append();
  void Edit();
  void Post();
  // Append and Post of a row whose whole record is given.
  void AppendRecord(const char* record);
  // Browsing again without storing the pending row (the table is being closed).
  void Drop() { state_ = State::kBrowse; }

  // The record being edited or appended, and the bytes of `field` in it; an error while
  // browsing.
  char* EditableRow();
  char* EditableField(const DbfField& field) { return EditableRow() + field.offset; }
  // The value of `field` in the current row, its text in Windows-1252. A numeric field that
  // holds no number is the table's damage error.
  FieldValue Value(const DbfField& field) const;
  // The stored bytes of `field` in the current row (all zero at the end of the table).
  std::string_view Bytes(const DbfField& field) const {
    return {current_ + field.offset, static_cast<size_t>(field.length)};
  }

 private:
  enum class State { kBrowse, kEdit, kInsert };

  // The current row's index. A failed write may have shrunk the table under it, so it never
  // points past the end.
  uint32_t Position() const;
  void RequireWritable() const;
  void PostPending();
  void ClearRow();
  void SkipDeleted();

  RecordFile& file_;
  bool writable_;
  int codePage_;
  State state_ = State::kBrowse;
  uint32_t position_ = 0;
  std::string row_;  // the record being edited or appended, or the empty one at the end
  // The current record: a stored row is read where the file's block holds it, without a copy
  // per row (only this cursor changes that block, and it moves current_ whenever it does);
  // row_ while editing or appending, after storing, and at the end.
  const char* current_ = nullptr;
};

}  // namespace norvalde::tables
