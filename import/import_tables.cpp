#include "import/import_tables.h"

namespace norvalde::importing {

ImportTables::ImportTables(platform::Env& env, char decimalSeparator)
    : wwTableSoluc(env, "wwTableSoluc", decimalSeparator),
      wwTableGrupos(env, "wwTableGrupos", decimalSeparator),
      wwTableProfesor(env, "wwTableProfesor", decimalSeparator),
      wwTableAulas(env, "wwTableAulas", decimalSeparator),
      wwTableNomAsg(env, "wwTableNomAsg", decimalSeparator),
      wwTableTramos(env, "wwTableTramos", decimalSeparator) {}

}  // namespace norvalde::importing
