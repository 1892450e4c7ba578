// The line-by-line conversion shared by the subjects, teachers, rooms and groups conversions and
// by the first pass of the assignments conversion: find the ROVA file, open it, re-create the
// work table, and append one row for each detail line kept.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "export/export.h"
#include "tables/table.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {

// What one member of the family reads and writes.
struct LineConversion {
  std::string_view fileName;        // the ROVA file inside `Carpeta`, in lower case
  std::string_view missingMessage;  // shown when the file is absent
  const tables::WorkTableDefinition& table;
  std::string_view guardName;       // see exchange::IsDetailLine
  // The code that identifies a line's row. When set, a line whose code equals (under the code
  // comparison) the code of a row already appended from this file is dropped.
  std::function<std::string(std::string_view line)> duplicateKey;
  // Sets the fields of the row just appended from the line, in the order the table lists them.
  std::function<void(std::string_view line, tables::Table& row)> fillRow;
};

// Runs the conversion into `table` and leaves the table open. The steps keep this order so that
// an input that is missing or cannot be opened leaves the old table as it was: existence test,
// opening the input, only then re-creating the table. Returns false, with the table untouched
// and not open, when the input file is missing (after its message).
bool ConvertLineByLine(const ExportContext& context, const LineConversion& conversion,
                       tables::Table& table);

// ConvertLineByLine into a table of its own, closed at the end.
void ExportLineByLine(const ExportContext& context, const LineConversion& conversion);

}  // namespace norvalde::exporting
