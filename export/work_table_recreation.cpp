#include "export/work_table_recreation.h"

namespace norvalde::exporting {

void RecreateWorkTable(KeptTables& kept, const tables::WorkTableDefinition& definition,
                       tables::Table& table) {
  kept.Keep(definition.name);
  tables::Table::Create(kept.env(), kept.workFolder(), definition.name + ".DBF",
                        definition.fields);
  table.Open(kept.workFolder(), definition.name + ".DBF", tables::Sharing::kShared,
             tables::Access::kReadWrite);
}

}  // namespace norvalde::exporting
