#include "import/import_tables.h"

namespace norvalde::importing {

ImportTables::ImportTables(platform::Env& env)
    : wwTableSoluc(env, "wwTableSoluc"),
      wwTableGrupos(env, "wwTableGrupos"),
      wwTableProfesor(env, "wwTableProfesor"),
      wwTableAulas(env, "wwTableAulas"),
      wwTableNomAsg(env, "wwTableNomAsg"),
      wwTableTramos(env, "wwTableTramos") {}

}  // namespace norvalde::importing
