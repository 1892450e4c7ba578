#include "import/import_table_session.h"

#include <utility>

namespace norvalde::importing {

ImportTableSession::ImportTableSession(ImportTables& components,
                                       const std::string& workFolder) {
  const std::pair<tables::Table*, const char*> order[] = {
      {&components.wwTableSoluc, "SOLUC"},
      {&components.wwTableGrupos, "GRUPOST"},
      {&components.wwTableProfesor, "PROFT"},
      {&components.wwTableAulas, "AULAT"},
      {&components.wwTableNomAsg, "ASIGNOMT"},
      {&components.wwTableTramos, "DIASHORAST"},
  };
  try {
    for (const auto& [table, name] : order) {
      table->Open(workFolder, name, tables::Sharing::kExclusive, tables::Access::kReadWrite);
      opened_.push_back(table);
    }
  } catch (...) {
    CloseQuietly();  // a throwing constructor runs no destructor
    throw;
  }
}

ImportTableSession::~ImportTableSession() { CloseQuietly(); }

void ImportTableSession::Close() {
  for (tables::Table* table : opened_) table->Close();
  opened_.clear();
}

void ImportTableSession::CloseQuietly() noexcept {
  for (tables::Table* table : opened_) {
    try {
      if (table->IsOpen()) table->Close();
    } catch (...) {
      // The run is already failing with its own message; a second error would hide it.
    }
  }
  opened_.clear();
}

}  // namespace norvalde::importing
