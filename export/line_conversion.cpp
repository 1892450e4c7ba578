#include "export/line_conversion.h"

#include <optional>

#include "exchange/exchange_fields.h"
#include "exchange/exchange_reader.h"
#include "export/code_lists.h"
#include "export/input_files.h"

namespace norvalde::exporting {

bool ConvertLineByLine(const ExportContext& context, const LineConversion& conversion,
                       tables::Table& table) {
  const std::optional<std::string> path =
      FindInputFile(context, conversion.fileName, conversion.missingMessage);
  if (!path) return false;

  exchange::ExchangeReader reader(context.env);
  reader.Open(*path);
  tables::RecreateWorkTable(context.env, context.workFolder, conversion.table, table);

  std::optional<SeenCodes> seen;
  const std::optional<ColumnRange>& code = conversion.distinctCode;
  if (code) seen.emplace(context.collation);
  while (!reader.AtEnd()) {
    const std::string line = reader.ReadLine();
    if (!exchange::IsDetailLine(line, conversion.guardName)) continue;
    if (seen && !seen->Insert(exchange::FieldText(line, code->first, code->last))) continue;
    table.Append();
    for (const FieldCopy& copy : conversion.copies) {
      table.SetText(std::string(copy.field), exchange::FieldText(line, copy.first, copy.last));
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
