// The work-folder tables that Norvalde and Plantivo exchange, and how the Export re-creates
// them.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::tables {

struct WorkTableDefinition {
  std::string name;  // without extension: "ASIGNOMT"
  std::vector<FieldDefinition> fields;
};

const WorkTableDefinition& AsignomtTable();    // subjects
const WorkTableDefinition& ProftTable();       // teachers
const WorkTableDefinition& AulatTable();       // rooms
const WorkTableDefinition& GrupostTable();     // groups
const WorkTableDefinition& AsigtTable();       // subject-group assignments
const WorkTableDefinition& DiashorastTable();  // day and time slots

// Deletes <name>.DBF and then <name>.MDX in `workFolder` when present (a failed deletion is
// not reported), creates the table anew and opens it shared for reading and writing.
void RecreateWorkTable(platform::Env& env, const std::string& workFolder,
                       const WorkTableDefinition& definition, Table& table);

// The Import's six table components, owned by the window, each bound to one table of the
// work folder (named without extension) and opened exclusively.
struct ImportTables {
  explicit ImportTables(platform::Env& env);
  Table wwTableSoluc;     // SOLUC
  Table wwTableGrupos;    // GRUPOST
  Table wwTableProfesor;  // PROFT
  Table wwTableAulas;     // AULAT
  Table wwTableNomAsg;    // ASIGNOMT
  Table wwTableTramos;    // DIASHORAST
};

}  // namespace norvalde::tables
