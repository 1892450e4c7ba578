#include "tables/work_tables.h"


namespace norvalde::tables {
namespace {

FieldDefinition Text(const char* name, int width) { return {name, FieldType::kText, width}; }
FieldDefinition Integer(const char* name) { return {name, FieldType::kInteger}; }
FieldDefinition Number(const char* name) { return {name, FieldType::kNumber}; }

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

}  // namespace norvalde::tables
