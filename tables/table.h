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
#include <vector>

#include "platform/env.h"

namespace norvalde::tables {

struct DbfField;

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

class Table {
 public:
  // `componentName` ("wwTableSoluc", ...) is put in front of field errors; empty for none.
  explicit Table(platform::Env& env, std::string componentName = {});
  ~Table();  // closes the table; a pending change is dropped
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Creates the table `fileName` (with .DBF) in `folder` with these fields, in this order,
  // replacing any table of that name (found ignoring case). No index. Not synced: a table
  // opened for writing is synced when closed empty or written to.
  static void Create(platform::Env& env, const std::string& folder, const std::string& fileName,
                     const std::vector<FieldDefinition>& fields);

  // Opens the table `name` in `folder`: a name without extension means name + ".DBF". The
  // field list comes from the file. A file that cannot be written opens read-only.
  void Open(const std::string& folder, const std::string& name, Sharing sharing, Access access);
  bool IsOpen() const;
  // Writes buffered rows and the header, releases the lock and closes; drops a pending change.
  void Close();

  // Rows in stored order; deleted rows are skipped. First and Next store a pending change.
  void First();
  void Next();
  bool AtEnd() const;  // after First on an empty table, after Next from the last row

  // Append stores a pending change, then adds a new last row with every field empty and makes
  // it current. Edit makes the current row changeable. Post stores the appended or edited row.
  void Append();
  void Edit();
  void Post();

  // Field names match ignoring case; an unknown name fails with
  // "[<component>: ]No se encuentra el campo '<name>'".
  void SetText(const std::string& field, const std::string& value);  // cut to the width
  void SetNumber(const std::string& field, double value);
  // Text without trailing blanks; numbers in decimal with up to 15 significant digits.
  std::string AsText(const std::string& field) const;
  double AsNumber(const std::string& field) const;  // empty gives 0
  // Integer and number fields: empty gives 0, halves round to even. Text fields: the text as
  // a decimal whole number, or "'<text>' no es un valor entero válido".
  int32_t AsInteger(const std::string& field) const;

  // The open table's fields as stored (for tests and diagnostics).
  std::vector<std::string> FieldNames() const;

 private:
  class Impl;
  Impl& Opened() const;  // the open table, or an error when none is open
  const DbfField& Field(const std::string& name) const;
  void StoreNumber(const DbfField& field, double value, char* bytes) const;
  [[noreturn]] void ThrowUnwritable(const DbfField& field) const;

  platform::Env& env_;
  std::string componentName_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace norvalde::tables
