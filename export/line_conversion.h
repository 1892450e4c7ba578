// The line-by-line conversion shared by the subjects, teachers, rooms and groups conversions and
// by the first pass of the assignments conversion: find the ROVA file, open it, re-create the
// work table, and append one row for each detail line kept.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_reader.h"
#include "export/export.h"
#include "tables/table.h"
#include "export/work_table_recreation.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {

// Columns first to last (1-based, inclusive) of a line, read trimmed (exchange::FieldText).
struct ColumnRange {
  int first;
  int last;
};

// A text field of the row set from columns of the line.
struct FieldCopy {
  std::string_view field;
  int first;
  int last;
};

// What one member of the family reads and writes.
struct LineConversion {
  std::string_view fileName;        // the ROVA file inside `Carpeta`, in lower case
  std::string_view missingMessage;  // shown when the file is absent
  const tables::WorkTableDefinition& table;
  std::string_view guardName;       // see exchange::IsDetailLine
  // The columns of the code that identifies a line's row. When set, a line whose code equals
  // (under the code comparison) the code of a row already appended from this file is dropped.
  std::optional<ColumnRange> distinctCode;
  // The fields of the row just appended that are copied from the line, in this order.
  std::vector<FieldCopy> copies;
  // Sets the fields derived from the line, after the copies; may be empty.
  std::function<void(std::string_view line, tables::Table& row)> fillRow = {};
};

// The steps before the rows, in the order that leaves the old table as it was when the input
// is missing or cannot be opened: existence test, opening the input into `reader`, only then
// re-creating the table into `table`, left open. Returns false, with the table untouched and
// not open, when the input file is missing (after its message).
bool OpenLineByLine(const ExportContext& context, const LineConversion& conversion,
                    exchange::ExchangeReader& reader, tables::Table& table);

// Runs the conversion into `table` and leaves the table open (OpenLineByLine, then a row for
// each detail line kept). Returns false when the input file is missing.
bool ConvertLineByLine(const ExportContext& context, const LineConversion& conversion,
                       tables::Table& table);

// ConvertLineByLine into a table of its own, closed at the end.
void ExportLineByLine(const ExportContext& context, const LineConversion& conversion);

}  // namespace norvalde::exporting
