#include "tests/import/import_work_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "import/import.h"
#include "platform/paths.h"
#include "tables/work_tables.h"
#include "tests/support/write_table.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;
using norvalde::testing::WriteTable;

const std::string kNameField = "ROVA_HORARIO.TXT" + std::string(34, ' ');

}  // namespace

void ImportWorkFolder::Prepare(char modeDay, const std::vector<SlotRow>& slots,
                               const std::vector<SolucRow>& rows, SolucShape shape) {
  WriteRovaBytes("rova_asignat.txt",
             CrLfLines({"0ROVA_ASIGNAT.TXT" + std::string(34, ' ') + "28001234010920260800",
                        "1MAT MATEMATICAS"}));
  WriteRovaBytes("rova_sesiones.txt",
             CrLfLines({"0ROVA_SESIONES.TXT", std::string("1   S011") + modeDay + "08000855"}));
  WriteSlots(slots);
  for (const tables::WorkTableDefinition* definition :
       {&tables::GrupostTable(), &tables::ProftTable(), &tables::AulatTable(),
        &tables::AsignomtTable()}) {
    WriteTable(env_, workFolder(), definition->name + ".DBF", definition->fields, {});
  }
  WriteSoluc(rows, shape);
}

void ImportWorkFolder::WriteSlots(const std::vector<SlotRow>& slots) {
  std::vector<std::vector<std::string>> rows;
  // DIHO, CODDIHO, DIA, TEXTODIA, HORA.
  for (const SlotRow& slot : slots) rows.push_back({"", slot.coddiho, slot.dia, "", slot.hora});
  WriteTable(env_, workFolder(), "DIASHORAST.DBF", tables::DiashorastTable().fields, rows);
}

void ImportWorkFolder::WriteSoluc(const std::vector<SolucRow>& rows, SolucShape shape) {
  using tables::FieldType;
  // An extra field first, and the read fields out of their usual order.
  std::vector<tables::FieldDefinition> fields = {
      {"SESION", FieldType::kInteger},
      {"PROF", FieldType::kText, 5},
      {"HORA", FieldType::kInteger},
      {"DIA", shape.textDia ? FieldType::kText : FieldType::kInteger, 2},
      {"CODGRUPO", FieldType::kText, 5},
      {"ASIG", FieldType::kText, 5},
  };
  if (shape.withAula) fields.push_back({"AULA", FieldType::kText, 5});
  std::vector<std::vector<std::string>> values;
  for (const SolucRow& row : rows) {
    values.push_back({"", row.prof, row.hora, row.dia, row.codgrupo, row.asig});
    if (shape.withAula) values.back().push_back(row.aula);
  }
  WriteTable(env_, workFolder(), "SOLUC.DBF", fields, values);
}

void ImportWorkFolder::RunWith(platform::Env& env, RecordingMessageSink& sink) {
  env_.Restart();
  RunImport({env, Carpeta(), workFolder(), sink}, tables_);
}

void ImportWorkFolder::Run(RecordingMessageSink& sink, char decimalSeparator) {
  env_.Restart();
  ImportTables tables(env_, decimalSeparator);
  RunImport({env_, Carpeta(), workFolder(), sink}, tables);
}

void ImportWorkFolder::ExpectTablesFree() {
  for (const char* name : {"SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "DIASHORAST"}) {
    if (!fs::is_regular_file(WorkFile(std::string(name) + ".DBF"))) continue;
    tables::Table table(env_);
    EXPECT_NO_THROW(table.Open(workFolder(), name, tables::Sharing::kExclusive,
                               tables::Access::kReadWrite))
        << name << " is still held";
  }
}

std::string HorarioHeader(const std::string& centreCode) {
  return "0" + kNameField + centreCode + "091220261059";
}

std::string HorarioTrailer(int count, const std::string& centreCode) {
  return "9" + kNameField + centreCode + "091220261100" + std::to_string(count);
}

}  // namespace norvalde::importing::testing
