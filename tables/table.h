// Norvalde's dBASE table engine: one open table, walked and changed one row at a time.
//
// Tables we create are dBASE III PLUS files (language driver 0x57, Windows-1252). On reading,
// every common variant is accepted (dBASE III/IV/5/7, FoxPro, Visual FoxPro) and text is
// converted to Windows-1252 from the table's code page. Every failure throws norvalde::Error
// whose text names the table file and the cause in Spanish.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "tables/dbf_field.h"

namespace norvalde::tables {

enum class FieldType {
  kText,     // C with a width
  kInteger,  // signed 32-bit, stored as N(11,0)
  kNumber,   // double, stored as N(20,6)
};

struct FieldDefinition {
  std::string name;  // upper case, at most 10 characters
  FieldType type;
  int width = 0;     // text fields only
};

enum class Sharing { kShared, kExclusive };
enum class Access { kReadWrite, kReadOnly };

// A field of an open table, looked up by name once (Table::FindField) and used for every row
// after, so a walk does not search the field list at each access. A name the table does not
// have gives a handle too: the error comes at its first use, as it would by name. A handle
// belongs to the table that gave it and stays valid until that table is closed or reopened.
class FieldHandle {
 public:
  FieldHandle() = default;
  bool found() const { return index_ >= 0; }
  const std::string& name() const { return name_; }  // as the caller spelt it

 private:
  friend class Table;
  FieldHandle(int index, std::string name) : index_(index), name_(std::move(name)) {}
  int index_ = -1;
  std::string name_;
};

// One open table, walked and changed one row at a time.
//
// State rules:
// - Every call below except Create, Open, IsOpen and Close needs an open table; without one it
//   fails with "La tabla no está abierta".
// - Browsing is the state after Open, First, Next and Post. SetText and SetNumber need Append
//   or Edit first; while browsing they fail ("el registro no está en edición").
// - Append and Edit need a table opened for writing. Edit also needs a current row (not
//   AtEnd). Edit while already editing or appending changes nothing.
// - Append, First and Next store a pending appended or edited row before they move; Close and
//   the destructor drop it.
// - Reads (AsText, AsNumber, AsInteger) work in every state and see the row as changed so
//   far; at the end of the table every field reads empty.
class Table {
 public:
  // `componentName` ("wwTableSoluc", ...) is put in front of field errors; empty for none.
  // `decimalSeparator` is the decimal point of numbers read as text: the user's
  // (platform::UserDecimalSeparator) for the tables an action reads. Numbers stored in the
  // table keep ".".
  explicit Table(platform::Env& env, std::string componentName = {},
                 char decimalSeparator = '.');
  ~Table();  // closes the table; a pending change is dropped
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Creates the table `fileName` (with .DBF) in `folder` with these fields, in this order,
  // replacing any table of that name (found ignoring case). No index. Not synced: a table
  // opened for writing is synced when closed empty or written to.
  static void Create(platform::Env& env, const std::string& folder, const std::string& fileName,
                     const std::vector<FieldDefinition>& fields);

  // Opens the table `name` in `folder`: a name without extension means name + ".DBF". The
  // field list comes from the file. A file that cannot be written opens read-only. The first
  // row is current.
  void Open(const std::string& folder, const std::string& name, Sharing sharing, Access access);
  bool IsOpen() const;
  // Writes buffered rows and the header, releases the lock and closes; drops a pending change.
  void Close();

  // Rows in stored order; deleted rows are skipped.
  void First();
  void Next();
  bool AtEnd() const;  // after First on an empty table, after Next from the last row

  // Append adds a new last row with every field empty and makes it current. Edit makes the
  // current row changeable. Post stores the appended or edited row.
  void Append();
  void Edit();
  void Post();

  // The visible field whose name matches `name` ignoring case (the first, should two match).
  FieldHandle FindField(const std::string& name) const;

  // Each access takes a handle, or a name looked up on the spot. A field the table lacks fails
  // with "[<component>: ]No se encuentra el campo '<name>'".
  void SetText(const FieldHandle& field, std::string_view value);  // cut to the width
  void SetNumber(const FieldHandle& field, double value);
  // Text without trailing blanks; numbers in decimal with up to 15 significant digits and the
  // table's decimal separator (FormatNumber).
  std::string AsText(const FieldHandle& field) const;
  // AsText as a view: into the current row when the field's bytes are its text (a text field
  // of a Windows-1252 table), valid until the row or the table changes; otherwise into
  // `scratch`, which receives AsText.
  std::string_view TextView(const FieldHandle& field, std::string& scratch) const;
  double AsNumber(const FieldHandle& field) const;  // empty gives 0
  // Integer and number fields: empty gives 0, halves round to even. Text fields: the text as
  // a decimal whole number, or "'<text>' no es un valor entero válido".
  int32_t AsInteger(const FieldHandle& field) const;

  void SetText(const std::string& field, std::string_view value) {
    SetText(FindField(field), value);
  }
  void SetNumber(const std::string& field, double value) { SetNumber(FindField(field), value); }
  std::string AsText(const std::string& field) const { return AsText(FindField(field)); }
  double AsNumber(const std::string& field) const { return AsNumber(FindField(field)); }
  int32_t AsInteger(const std::string& field) const { return AsInteger(FindField(field)); }

  // The open table's fields as stored (for tests and diagnostics).
  std::vector<std::string> FieldNames() const;

  // Rows handled as their stored bytes, for a caller that writes or reads very many rows whose
  // fields take few distinct values: it works out each value's bytes once, with PutText or
  // the setters, and copies them into each row; or reads a value once per distinct stored bytes.
  //
  // Where a field's bytes lie in a record (whose byte 0 is the deletion flag), and how many.
  struct FieldSpan {
    size_t offset;
    size_t length;
  };
  FieldSpan Span(const FieldHandle& field) const;
  size_t RecordLength() const;
  // The bytes SetText would store for `value`, put at `bytes` (Span(field).length of them).
  void PutText(const FieldHandle& field, std::string_view value, char* bytes) const;
  // Whether PutText stores a text no wider than the field as its bytes followed by blanks (a
  // text field of a Windows-1252 table), so that a caller may put such texts itself.
  bool StoresTextAsIs(const FieldHandle& field) const;
  // The record of the row being appended or edited, changed in place; an error while browsing.
  char* EditableRow();
  // Append and Post at once, for a row whose every byte the caller has made (a record of
  // RecordLength bytes, deletion flag first): a new last row holding them, stored.
  void AppendRecord(const char* record);
  // The stored bytes of `field` in the current row (all zero at the end of the table); what
  // every read of the field in this row is made from.
  std::string_view StoredBytes(const FieldHandle& field) const;

 private:
  struct Opened;
  // The open table, or an error when none is open. Here, like Field below.
  Opened& Current() const {
    if (!opened_) ThrowNotOpen();
    return *opened_;
  }
  [[noreturn]] static void ThrowNotOpen();
  // Here, where callers see it: every access by handle starts with it, and rows of the largest
  // tables make several each.
  const DbfField& Field(const FieldHandle& handle) const {
    if (handle.found() && static_cast<size_t>(handle.index_) < fieldCount_) {
      return fields_[static_cast<size_t>(handle.index_)];
    }
    ThrowMissingField(handle);
  }
  [[noreturn]] void ThrowMissingField(const FieldHandle& handle) const;
  void StoreNumber(const DbfField& field, double value, char* bytes) const;
  [[noreturn]] void ThrowUnwritable(const DbfField& field) const;

  platform::Env& env_;
  std::string componentName_;
  char decimalSeparator_;
  std::unique_ptr<Opened> opened_;
  // The open table's fields, kept here as well: every access by handle starts with them.
  const DbfField* fields_ = nullptr;
  size_t fieldCount_ = 0;
};

}  // namespace norvalde::tables
