#include "tests/import/import_work_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "import/import.h"
#include "platform/paths.h"
#include "export/work_table_recreation.h"
#include "tables/work_tables.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;

const std::string kNameField = "ROVA_HORARIO.TXT" + std::string(34, ' ');

void SetField(tables::Table& table, const std::string& field, const std::string& value,
              bool numeric) {
  if (value.empty()) return;  // left blank
  if (numeric) {
    table.SetNumber(field, std::stod(value));
  } else {
    table.SetText(field, value);
  }
}

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
    tables::Table table(env_);
    exporting::KeptTables kept(env_, workFolder());
    exporting::RecreateWorkTable(kept, *definition, table);
    table.Close();
  }
  WriteSoluc(rows, shape);
}

void ImportWorkFolder::WriteSlots(const std::vector<SlotRow>& slots) {
  tables::Table table(env_);
  exporting::KeptTables kept(env_, workFolder());
  exporting::RecreateWorkTable(kept, tables::DiashorastTable(), table);
  for (const SlotRow& slot : slots) {
    table.Append();
    SetField(table, "DIA", slot.dia, false);
    SetField(table, "HORA", slot.hora, false);
    SetField(table, "CODDIHO", slot.coddiho, false);
    table.Post();
  }
  table.Close();
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
  tables::Table::Create(env_, workFolder(), "SOLUC.DBF", fields);
  tables::Table table(env_);
  table.Open(workFolder(), "SOLUC", tables::Sharing::kShared, tables::Access::kReadWrite);
  for (const SolucRow& row : rows) {
    table.Append();
    SetField(table, "DIA", row.dia, !shape.textDia);
    SetField(table, "HORA", row.hora, true);
    SetField(table, "PROF", row.prof, false);
    SetField(table, "CODGRUPO", row.codgrupo, false);
    SetField(table, "ASIG", row.asig, false);
    if (shape.withAula) SetField(table, "AULA", row.aula, false);
    table.Post();
  }
  table.Close();
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
