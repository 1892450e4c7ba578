// The Import's six table components, owned by the window, each bound to one table of the
// work folder (named without extension) and opened exclusively by an Import run.
#pragma once

#include "platform/env.h"
#include "tables/table.h"

namespace norvalde::importing {

struct ImportTables {
  // `decimalSeparator`: of numbers read as text (tables::Table), the user's in the window.
  explicit ImportTables(platform::Env& env, char decimalSeparator = '.');
  tables::Table wwTableSoluc;     // SOLUC
  tables::Table wwTableGrupos;    // GRUPOST
  tables::Table wwTableProfesor;  // PROFT
  tables::Table wwTableAulas;     // AULAT
  tables::Table wwTableNomAsg;    // ASIGNOMT
  tables::Table wwTableTramos;    // DIASHORAST
};

}  // namespace norvalde::importing
