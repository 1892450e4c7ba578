#include "tables/work_tables.h"

#include "platform/paths.h"
#include "platform/system_errors.h"

namespace norvalde::tables {
namespace {

FieldDefinition Text(const char* name, int width) { return {name, FieldType::kText, width}; }
FieldDefinition Integer(const char* name) { return {name, FieldType::kInteger}; }
FieldDefinition Number(const char* name) { return {name, FieldType::kNumber}; }

// Whether another program holds the file. Windows refuses to delete such a file; other systems
// delete it while the holder keeps writing a table nobody sees any more, so we ask first.
bool HeldByAnotherProgram(platform::Env& env, const std::string& path) {
  std::unique_ptr<platform::File> file;
  const int error = env.Open(path, platform::OpenMode::kReadWriteExclusive, file);
  if (error == 0) file->Close();
  return error != 0 && platform::RuntimeErrorCode(error) == 32;
}

// Deletes the file when it exists. A file another program holds stays, unreported: the creation
// that follows fails on it with the engine's error. A symbolic link under the name, even one
// pointing nowhere, is deleted itself (never what it points to).
void DeleteIfPresent(platform::Env& env, const std::string& path) {
  const std::string found = env.FindFileIgnoringCase(path);
  if (env.FolderExists(found) || HeldByAnotherProgram(env, found)) return;
  env.DeleteFile(found);  // nothing there is no failure worth reporting either
}

}  // namespace

const WorkTableDefinition& AsignomtTable() {
  static const WorkTableDefinition table{
      "ASIGNOMT", {Text("COD", 4), Text("CODLARGO", 8), Text("NOMBRE", 40), Text("MATERIA", 8)}};
  return table;
}

const WorkTableDefinition& ProftTable() {
  static const WorkTableDefinition table{
      "PROFT",
      {Text("ABREV", 4), Text("NOMBRE", 40), Text("DEPART", 40), Integer("DNI"),
       Text("X_EMPLEADO", 10), Text("F_TOMAPOS", 10)}};
  return table;
}

const WorkTableDefinition& AulatTable() {
  static const WorkTableDefinition table{
      "AULAT",
      {Text("ABREV", 4), Text("NOMBRE", 40), Text("EDIFICIO", 1), Integer("MAXALUM"),
       Text("DEPCENTRO", 10)}};
  return table;
}

const WorkTableDefinition& GrupostTable() {
  static const WorkTableDefinition table{
      "GRUPOST",
      {Text("ABREV", 4), Text("TURNO", 1), Text("NIVEL", 5), Text("CURSO", 3), Text("GRUPO", 2),
       Text("UNIDAD", 10)}};
  return table;
}

const WorkTableDefinition& AsigtTable() {
  static const WorkTableDefinition table{
      "ASIGT",
      {Text("CASIG", 4), Text("CPROF", 4), Text("CGRUP", 4), Text("CAULA", 4), Text("TURNO", 1),
       Text("NIVEL", 5), Text("CURSO", 3), Text("GRUPO", 2), Number("HORAS"),
       Text("SESIONES", 20)}};
  return table;
}

const WorkTableDefinition& DiashorastTable() {
  static const WorkTableDefinition table{
      "DIASHORAST",
      {Text("DIHO", 10), Text("CODDIHO", 10), Text("DIA", 20), Text("TEXTODIA", 20),
       Text("HORA", 8), Text("HORADESDE", 8), Text("HORAHASTA", 8), Text("MINUTOS", 8)}};
  return table;
}

void RecreateWorkTable(platform::Env& env, const std::string& workFolder,
                       const WorkTableDefinition& definition, Table& table) {
  const std::string base = platform::JoinPath(workFolder, definition.name);
  DeleteIfPresent(env, base + ".DBF");
  DeleteIfPresent(env, base + ".MDX");
  Table::Create(env, workFolder, definition.name + ".DBF", definition.fields);
  table.Open(workFolder, definition.name + ".DBF", Sharing::kShared, Access::kReadWrite);
}

ImportTables::ImportTables(platform::Env& env)
    : wwTableSoluc(env, "wwTableSoluc"),
      wwTableGrupos(env, "wwTableGrupos"),
      wwTableProfesor(env, "wwTableProfesor"),
      wwTableAulas(env, "wwTableAulas"),
      wwTableNomAsg(env, "wwTableNomAsg"),
      wwTableTramos(env, "wwTableTramos") {}

}  // namespace norvalde::tables
