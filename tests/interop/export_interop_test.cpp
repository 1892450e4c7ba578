// The six tables of a whole Export run as python3-dbfread reads them: the texts our engine
// read back in the other tests must be what an independent reader finds in the files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/export.h"
#include "tests/support/test_folders.h"
#include "tests/interop/interop_tools.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using Rows = std::vector<std::vector<std::string>>;

Rows InHex(const Rows& rows) {
  Rows hex;
  for (const auto& row : rows) {
    hex.emplace_back();
    for (const std::string& value : row) hex.back().push_back(interop::DumpHex(value));
  }
  return hex;
}

TEST(ExportReadByDbfread, TablesHoldWhatTheRunWrote) {
  if (!interop::PythonHasModule("dbfread")) GTEST_SKIP() << "/usr/bin/python3 lacks dbfread";
  TestFolders folders;
  folders.WriteRova("rova_asignat.txt", {
      Columns({{1, "0"}, {2, "ROVA_ASIGNAT.TXT"}, {52, "12345678"}}),
      Columns({{1, "1"}, {2, "MAT"}, {6, "MAT-ESO-01"}, {26, "Matem\xE1ticas"}}),
      Columns({{1, "1"}, {2, "\xD1" "A"}, {6, "N"}, {26, std::string(60, 'x')}}),
  });
  folders.WriteRova("rova_prof.txt", {Columns({{1, "1"}, {2, "ANA"}, {6, "Ana Pe\xF1" "a"},
                                               {96, "Matem\xE1ticas"}})});
  folders.WriteRova("rova_aulas.txt", {Columns({{1, "1"}, {12, "A1"}, {86, "Aula 1"}})});
  folders.WriteRova("rova_grupo.txt", {Columns({{1, "1"}, {2, "1ESOA"}, {12, "1A"}, {16, "ESO"},
                                                {22, "1"}, {35, "TAR"}})});
  folders.WriteRova("rova_asignatgrupo.txt", {Columns({{1, "1"}, {12, "1A"}, {16, "MAT"}}),
                                              Columns({{1, "1"}, {12, "1A"}, {16, "LEN"}})});
  folders.WriteRova("rova_asignatcurso.txt",
                    {Columns({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "MAT"}, {28, "15,5"}})});
  folders.WriteRova("rova_sesiones.txt", {
      Columns({{1, "1"}, {5, "0001"}, {9, "L"}, {10, "0800"}, {14, "0855"}}),
      Columns({{1, "1"}, {5, "0002"}, {9, "1"}, {10, "1100"}, {14, "1030"}}),
  });

  RunExport(folders.Context());

  const struct {
    const char* table;
    std::vector<std::string> fields;
    Rows rows;
  } expected[] = {
      {"ASIGNOMT",
       {"COD", "CODLARGO", "NOMBRE", "MATERIA"},
       {{"MAT", "MAT-ESO-", "Matem\xE1ticas", ""}, {"\xD1" "A", "N", std::string(40, 'x'), ""}}},
      {"PROFT",
       {"ABREV", "NOMBRE", "DEPART", "DNI", "X_EMPLEADO", "F_TOMAPOS"},
       {{"ANA", "Ana Pe\xF1" "a", "Matem\xE1ticas", "", "", ""}}},
      {"AULAT",
       {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"},
       {{"A1", "Aula 1", "", "", ""}}},
      {"GRUPOST",
       {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "UNIDAD"},
       {{"1A", "T", "ESO", "1", "A", "1ESOA"}}},
      {"ASIGT",
       {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO", "HORAS",
        "SESIONES"},
       {{"MAT", "", "1A", "", "T", "ESO", "1", "A", "15.5",
         std::string("2").append(13, '1') + "\xBD"},
        {"LEN", "", "1A", "", "T", "ESO", "1", "A", "1", "1"}}},
      {"DIASHORAST",
       {"DIHO", "CODDIHO", "DIA", "TEXTODIA", "HORA", "HORADESDE", "HORAHASTA", "MINUTOS"},
       {{"L1", "0001", "L", "", "1", "0800", "0855", "55"},
        {"12", "0002", "1", "", "2", "1100", "1030", "-30"}}},
  };
  for (const auto& table : expected) {
    const interop::Dump read =
        interop::DumpTable("dbfread", folders.WorkFile(std::string(table.table) + ".DBF"));
    EXPECT_EQ(read.FieldNames(), table.fields) << table.table;
    EXPECT_EQ(read.rows, InHex(table.rows)) << table.table;
  }
}

}  // namespace
}  // namespace norvalde::exporting
