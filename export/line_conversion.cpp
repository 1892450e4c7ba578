#include "export/line_conversion.h"

#include <optional>
#include <vector>

#include "exchange/exchange_fields.h"
#include "export/code_lists.h"
#include "export/input_files.h"
#include "platform/env.h"

namespace norvalde::exporting {

bool OpenLineByLine(const ExportContext& context, const LineConversion& conversion,
                    exchange::ExchangeReader& reader, tables::Table& table) {
  const std::optional<std::string> path =
      FindInputFile(context, conversion.fileName, conversion.missingMessage);
  if (!path) return false;
  // The input and the old table open one right after the other: one look at what other
  // processes hold open serves both.
  platform::OpenBurst burst(context.env);
  reader.Open(*path);
  RecreateWorkTable(context.kept, conversion.table, table);
  return true;
}

bool ConvertLineByLine(const ExportContext& context, const LineConversion& conversion,
                       tables::Table& table) {
  exchange::ExchangeReader reader(context.env);
  if (!OpenLineByLine(context, conversion, reader, table)) return false;

  // Looked up once; a field the table lacks fails at its first row, as by name.
  std::vector<tables::FieldHandle> targets;
  for (const FieldCopy& copy : conversion.copies) {
    targets.push_back(table.FindField(std::string(copy.field)));
  }
  std::optional<SeenCodes> seen;
  const std::optional<ColumnRange>& code = conversion.distinctCode;
  if (code) seen.emplace(context.collation);
  std::string line;
  while (!reader.AtEnd()) {
    reader.ReadLine(line);
    if (!exchange::IsDetailLine(line, conversion.guardName)) continue;
    if (seen && !seen->Insert(exchange::FieldText(line, code->first, code->last))) continue;
    table.Append();
    for (size_t i = 0; i < targets.size(); ++i) {
      const FieldCopy& copy = conversion.copies[i];
      table.SetText(targets[i], exchange::FieldView(line, copy.first, copy.last));
    }
    if (conversion.fillRow) conversion.fillRow(line, table);
    table.Post();
  }
  reader.Close();
  return true;
}

void ExportLineByLine(const ExportContext& context, const LineConversion& conversion) {
  tables::Table table(context.env);
  if (ConvertLineByLine(context, conversion, table)) table.Close();
}

}  // namespace norvalde::exporting
