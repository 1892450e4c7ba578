// The work-folder tables that Norvalde and Plantivo exchange: their names and fields.
#pragma once

#include <string>
#include <vector>

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

}  // namespace norvalde::tables
