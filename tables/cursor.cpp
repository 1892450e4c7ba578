#include "tables/cursor.h"

#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "platform/code_page.h"
#include "tables/table_errors.h"

namespace norvalde::tables {
namespace {

constexpr char kActiveFlag = ' ';
constexpr char kDeletedFlag = '*';
constexpr char kUnsetFlag = '\0';

}  // namespace

Cursor::Cursor(RecordFile& file, bool writable, int codePage)
    : file_(file),
      writable_(writable),
      codePage_(codePage),
      row_(file.layout().recordLength, '\0'),
      current_(row_.data()) {}

uint32_t Cursor::Position() const { return std::min(position_, file_.count()); }

void Cursor::First() {
  PostPending();
  position_ = 0;
  SkipDeleted();
}

void Cursor::Next() {
  PostPending();
  if (Position() >= file_.count()) return;
  position_ = Position() + 1;
  SkipDeleted();
}

bool Cursor::AtEnd() const { return state_ == State::kBrowse && Position() >= file_.count(); }

void Cursor::Append() {
  RequireWritable();
  PostPending();
  row_.assign(file_.layout().recordLength, ' ');
  current_ = row_.data();
  state_ = State::kInsert;
}

void Cursor::AppendRecord(const char* record) {
  RequireWritable();
  PostPending();
  std::memcpy(row_.data(), record, row_.size());  // the current row, as Append and Post leave it
  current_ = row_.data();
  position_ = file_.count();
  file_.Store(position_, record);
}

void Cursor::Edit() {
  RequireWritable();
  if (state_ != State::kBrowse) return;
  if (AtEnd()) {
    ThrowTableError("No se puede modificar la tabla", file_.path(), "no hay un registro actual");
  }
  if (current_ != row_.data()) std::memcpy(row_.data(), current_, row_.size());
  current_ = row_.data();
  state_ = State::kEdit;
}

void Cursor::Post() {
  if (state_ == State::kInsert) {
    position_ = file_.count();
    file_.Store(position_, row_.data());
  } else if (state_ == State::kEdit) {
    file_.Store(Position(), row_.data());
  }
  if (state_ != State::kBrowse) current_ = row_.data();  // the bytes just stored
  state_ = State::kBrowse;
}

char* Cursor::EditableRow() {
  if (state_ == State::kBrowse) {
    ThrowTableError("No se puede modificar la tabla", file_.path(),
                    "el registro no está en edición (falta Edit o Append)");
  }
  return row_.data();
}

FieldValue Cursor::Value(const DbfField& field) const {
  FieldValue value = DecodeField(field, file_.layout().family, current_);
  if (value.kind == FieldValue::Kind::kText && codePage_ != 1252 && !field.binary) {
    value.text = platform::ToWindows1252(value.text, codePage_);
  }
  if (value.kind == FieldValue::Kind::kInvalid) {
    throw Error("La tabla \"" + file_.path() + "\" está dañada: el campo '" + field.name +
                "' contiene '" + platform::Windows1252ToUtf8(value.text) +
                "', que no es un número");
  }
  return value;
}

void Cursor::RequireWritable() const {
  if (!writable_) {
    ThrowTableError("No se puede modificar la tabla", file_.path(),
                    "está abierta solo para lectura");
  }
}

void Cursor::PostPending() {
  if (state_ != State::kBrowse) Post();
}

// The row at end of table reads empty: every byte zero decodes as empty in every type.
void Cursor::ClearRow() {
  std::fill(row_.begin(), row_.end(), '\0');
  current_ = row_.data();
}

void Cursor::SkipDeleted() {
  for (; position_ < file_.count(); ++position_) {
    const char* record = nullptr;
    try {
      record = file_.Record(position_);
    } catch (...) {
      ClearRow();  // the block current_ pointed into may be gone
      throw;
    }
    // Some writers leave a live row's flag at 0x00.
    if (record[0] == kActiveFlag || record[0] == kUnsetFlag) {
      current_ = record;
      return;
    }
    if (record[0] != kDeletedFlag) {
      throw Error("La tabla \"" + file_.path() + "\" está dañada: el registro " +
                  std::to_string(position_ + 1) + " no tiene una marca de borrado válida");
    }
  }
  ClearRow();
}

}  // namespace norvalde::tables
