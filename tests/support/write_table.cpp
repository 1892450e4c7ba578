#include "tests/support/write_table.h"

namespace norvalde::testing {

void WriteTable(platform::Env& env, const std::string& folder, const std::string& name,
                const std::vector<tables::FieldDefinition>& fields,
                const std::vector<std::vector<std::string>>& rows) {
  tables::Table::Create(env, folder, name, fields);
  tables::Table table(env);
  table.Open(folder, name, tables::Sharing::kExclusive, tables::Access::kReadWrite);
  for (const std::vector<std::string>& row : rows) {
    table.Append();
    for (size_t i = 0; i < row.size(); ++i) {
      const tables::FieldDefinition& field = fields.at(i);
      if (row[i].empty()) continue;
      if (field.type == tables::FieldType::kText) {
        table.SetText(field.name, row[i]);
      } else {
        table.SetNumber(field.name, std::stod(row[i]));
      }
    }
    table.Post();
  }
  table.Close();
}

}  // namespace norvalde::testing
