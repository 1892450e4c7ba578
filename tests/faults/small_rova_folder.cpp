#include "tests/faults/small_rova_folder.h"

#include <utility>
#include <vector>

#include "export/export.h"
#include "tables/table.h"
#include "tests/support/write_table.h"

namespace norvalde::faults {
namespace {

// A record built from (first column, text) pairs, the gaps filled with spaces.
std::string Record(std::initializer_list<std::pair<int, std::string>> fields) {
  return testing::Columns(fields);
}

std::string Header(char type, const std::string& name) {
  return Record({{1, std::string(1, type)}, {2, name}, {52, "28001234010920260800"}});
}

// Header, a guard line (a detail record naming the file) after the first detail line, the
// details and the trailer, each line ended by CR LF.
void WriteRova(const testing::TestFolders& folders, const std::string& name,
               const std::string& guard, const std::vector<std::string>& details) {
  std::vector<std::string> lines = {Header('0', guard)};
  for (size_t i = 0; i < details.size(); ++i) {
    lines.push_back(details[i]);
    if (i == 0) lines.push_back(Record({{1, " "}, {3, guard}}));
  }
  lines.push_back(Header('9', guard) + std::to_string(details.size()));
  folders.WriteRova(name, lines);
}

}  // namespace

void WriteInputs(const testing::TestFolders& folders, platform::Env& env) {
  WriteRova(folders, "rova_asignat.txt", "ROVA_ASIGNAT.TXT",
            {Record({{1, "1"}, {2, "MAT"}, {6, "MAT-ESO-01"}, {26, "Matem\xE1ticas"}}),
             Record({{1, "1"}, {2, "LEN"}, {6, "LEN-ESO-01"}, {26, "Lengua Castellana"}}),
             Record({{1, "1"}, {2, "mat"}, {6, "DUPLICADO"}, {26, "Repetida"}}),
             Record({{1, "1"}, {2, "ING"}, {26, "Ingl\xE9s"}})});
  WriteRova(folders, "rova_prof.txt", "ROVA_PROF.TXT",
            {Record({{1, "1"}, {2, "P01"}, {6, "Ib\xE1\xF1" "ez Mu\xF1oz, Jos\xE9"},
                     {96, "Matem\xE1ticas"}}),
             Record({{1, "1"}, {2, "P02"}, {6, "Pe\xF1" "a G\xF3mez, In\xE9s"}})});
  WriteRova(folders, "rova_aulas.txt", "ROVA_AULAS.TXT",
            {Record({{1, "1"}, {12, "A12"}, {86, "Aula 12 del Pabell\xF3n Sur"}}),
             Record({{1, "1"}, {12, "LAB"}, {86, "Laboratorio"}})});
  WriteRova(folders, "rova_grupo.txt", "ROVA_GRUPOS.TXT",
            {Record({{1, "1"}, {2, "1ESOA"}, {12, "1EA"}, {16, "ESO"}, {22, "1"}, {35, "MAT"}}),
             Record({{1, "1"}, {2, "2BACH-B"}, {12, "2BB"}, {22, "2"}, {35, "TAR"}})});
  WriteRova(folders, "rova_asignatgrupo.txt", "ROVA_ASIGNATGRUPO.TXT",
            {Record({{1, "1"}, {12, "1EA"}, {16, "MAT"}}),
             Record({{1, "1"}, {12, "1EA"}, {16, "LEN"}}),
             Record({{1, "1"}, {12, "2BB"}, {16, "ING"}}),
             Record({{1, "1"}, {12, "XXX"}, {16, "MAT"}})});
  WriteRova(folders, "rova_asignatcurso.txt", "ROVA_ASIGNATCURSO.TXT",
            {Record({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "MAT"}, {28, "4"}}),
             Record({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "LEN"}, {28, "2,5"}}),
             Record({{1, "1"}, {2, "NIV"}, {8, "2"}, {24, "ING"}, {28, "15"}})});
  WriteRova(folders, "rova_sesiones.txt", "ROVA_SESIONES.TXT",
            {Record({{1, "1"}, {5, "S01"}, {9, "L"}, {10, "0800"}, {14, "0855"}}),
             Record({{1, "1"}, {5, "S02"}, {9, "L"}, {10, "0855"}, {14, "0950"}}),
             Record({{1, "1"}, {5, "S03"}, {9, "M"}, {10, "0800"}, {14, "0855"}})});
  using tables::FieldType;
  testing::WriteTable(env, folders.workFolder(), "SOLUC.DBF",
                      {{"DIA", FieldType::kInteger}, {"HORA", FieldType::kText, 2},
                       {"PROF", FieldType::kText, 5}, {"CODGRUPO", FieldType::kText, 4},
                       {"ASIG", FieldType::kText, 4}, {"AULA", FieldType::kText, 4}},
                      {{"1", "1", "P01", "1EA", "MAT", "A12"},
                       {"1", "2", "P02", "1EA", "LEN", "LAB"},
                       {"0", "1", "P01", "2BB", "ING", "A12"},
                       {"2", "1", "P02", "2BB", "ING", "LAB"}});
}

void PrepareExported(testing::TestFolders& folders, platform::Env& env) {
  WriteInputs(folders, env);
  exporting::RunExport(folders.Context(env));
  folders.WriteRovaBytes("ROVA_HORARIO.TXT", kEarlierHorario);
}

}  // namespace norvalde::faults
