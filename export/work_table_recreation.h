// How the Export replaces a work table: the old table and its index go, a new empty one is
// created and opened.
#pragma once

#include <string>

#include "platform/env.h"
#include "tables/table.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {

// Deletes <name>.DBF and then <name>.MDX in `workFolder` when present (a failed deletion is
// not reported), creates the table anew and opens it shared for reading and writing.
void RecreateWorkTable(platform::Env& env, const std::string& workFolder,
                       const tables::WorkTableDefinition& definition, tables::Table& table);

}  // namespace norvalde::exporting
