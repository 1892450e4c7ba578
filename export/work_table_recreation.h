// How the Export replaces a work table: the old table and its index are kept aside, a new
// empty one is created and opened.
#pragma once

#include "export/kept_tables.h"
#include "tables/table.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {

// Moves <name>.DBF and <name>.MDX of the work folder into the run's folder (KeptTables::Keep,
// which throws before the table is touched when that cannot be done), creates the table anew
// and opens it shared for reading and writing.
void RecreateWorkTable(KeptTables& kept, const tables::WorkTableDefinition& definition,
                       tables::Table& table);

}  // namespace norvalde::exporting
