// Every failure ends the Import with its message, shows no closing message, leaves an earlier
// ROVA_HORARIO.TXT exactly as it was, leaves no temporary file and holds no table.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "import_work_folder.h"
#include "platform/paths.h"
#include "tests/support/error_of.h"
#include "tests/support/faulty_env.h"
#include "tests/support/write_table.h"

namespace norvalde::importing::testing {
namespace {

using norvalde::testing::ErrorOf;
using norvalde::testing::FaultyEnv;
using norvalde::testing::Operation;
using norvalde::testing::WriteTable;

const std::string kEarlierFile = "0EARLIER\r\n1KEEP ME\r\n9EARLIER\r\n";
const SolucRow kLesson = {"1", "1", "P01", "1ESA", "MAT", "A12"};

struct FailureCase {
  std::string name;
  // Spoils the prepared folder, or sets the faults of the system the run goes through.
  std::function<void(ImportWorkFolder&, FaultyEnv&)> spoil;
  // The whole message, or only its start when the rest is the system's or engine's cause.
  std::function<std::string(const ImportWorkFolder&)> message;
  bool startOnly = false;
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }

std::vector<FailureCase> FailureCases() {
  const auto remove = [](const std::string& name) {
    return [name](ImportWorkFolder& f, FaultyEnv&) {
      std::filesystem::remove(f.Carpeta() + name);
    };
  };
  const auto cannotOpen = [](const std::string& name) {
    return [name](const ImportWorkFolder& f) {
      return "Cannot open file \"" + f.Carpeta() + name + "\". ";
    };
  };
  const auto text = [](const std::string& message) {
    return [message](const ImportWorkFolder&) { return message; };
  };
  return {
      {"MissingAsignat", remove("rova_asignat.txt"), cannotOpen("rova_asignat.txt"), true},
      {"MissingSesiones", remove("rova_sesiones.txt"), cannotOpen("rova_sesiones.txt"), true},
      {"OneLineSesiones",
       [](ImportWorkFolder& f, FaultyEnv&) {
         f.WriteRovaBytes("rova_sesiones.txt", "0ROVA_SESIONES.TXT\r\n");
       },
       text("List index out of bounds (1)")},
      // Never read, yet needed. (Other causes of a table that cannot be opened, a folder in its
      // place among them, are the table suite's; a blank text DIA is the late failure's below.)
      {"MissingGrupost",
       [](ImportWorkFolder& f, FaultyEnv&) {
         std::filesystem::remove(f.workFolder() + "/GRUPOST.DBF");
       },
       [](const ImportWorkFolder& f) {
         return "No se puede abrir la tabla \"" +
                platform::JoinPath(f.workFolder(), "GRUPOST.DBF") + "\": ";
       },
       true},
      {"SolucWithoutAula",
       [](ImportWorkFolder& f, FaultyEnv&) {
         f.WriteSoluc({{"0"}, kLesson}, {.withAula = false});
       },
       text("wwTableSoluc: No se encuentra el campo 'AULA'")},
      {"SlotsWithoutCoddiho",
       [](ImportWorkFolder& f, FaultyEnv&) {
         // A row the lesson matches, or CODDIHO is never read.
         WriteTable(f.env(), f.workFolder(), "DIASHORAST.DBF",
                    {{"DIA", tables::FieldType::kText, 20}, {"HORA", tables::FieldType::kText, 8}},
                    {{"L", "1"}});
       },
       text("wwTableTramos: No se encuentra el campo 'CODDIHO'")},
      {"LetterTextDia",
       [](ImportWorkFolder& f, FaultyEnv&) { f.WriteSoluc({{"L"}}, {.textDia = true}); },
       text("'L' no es un valor entero válido")},
      {"FinalRenameRefused",
       [](ImportWorkFolder&, FaultyEnv& env) { env.FailAlways(Operation::kRename, EACCES); },
       [](const ImportWorkFolder& f) {
         // The chosen folder's separator and one more, as the save path is built.
         return "Cannot create file \"" + f.Carpeta() + platform::kPathSeparator +
                "ROVA_HORARIO.TXT\". ";
       },
       true},
      {"DiskFull",
       [](ImportWorkFolder&, FaultyEnv& env) { env.FailAlways(Operation::kWrite, ENOSPC); },
       text("Stream write error")},
  };
}

class ImportFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ImportFailureTest, EndsWithItsMessageAndLeavesTheEarlierFile) {
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {kLesson});
  folder.WriteRovaBytes("ROVA_HORARIO.TXT", kEarlierFile);
  FaultyEnv env(folder.env());
  GetParam().spoil(folder, env);

  const std::string got = ErrorOf([&] { folder.RunWith(env, folder.messages); });
  const std::string expected = GetParam().message(folder);
  EXPECT_EQ(GetParam().startOnly ? got.substr(0, expected.size()) : got, expected) << got;

  EXPECT_TRUE(folder.messages.events.empty());
  EXPECT_EQ(folder.ReadOutput(), kEarlierFile);
  for (const std::string& name : folder.RovaFileNames()) {
    EXPECT_TRUE(name == "rova_asignat.txt" || name == "rova_sesiones.txt" ||
                name == "ROVA_HORARIO.TXT")
        << name << " left behind";
  }
  folder.ExpectTablesFree();
}

INSTANTIATE_TEST_SUITE_P(Each, ImportFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return info.param.name; });

// Lessons enough to fill the output's buffer several times, then a row that fails: by then the
// file has been partly written, yet only the earlier file is left; and where a folder stands
// in the file's place, so that it could not even be made, the message is still the row's.
TEST(ImportLateFailure, LeavesOnlyWhatStoodThereWithTheRowsMessage) {
  std::vector<SolucRow> rows(6000, kLesson);
  rows.push_back({""});
  for (const bool folderInPlace : {false, true}) {
    ImportWorkFolder folder;
    folder.Prepare('L', {{"L", "1", "S011"}}, {kLesson});
    folder.WriteSoluc(rows, {.textDia = true});
    if (folderInPlace) {
      std::filesystem::create_directory(folder.Carpeta() + "ROVA_HORARIO.TXT");
    } else {
      folder.WriteRovaBytes("ROVA_HORARIO.TXT", kEarlierFile);
    }
    FaultyEnv env(folder.env());
    EXPECT_EQ(ErrorOf([&] { folder.RunWith(env, folder.messages); }),
              "'' no es un valor entero válido");
    EXPECT_TRUE(folder.messages.events.empty());
    if (folderInPlace) {
      EXPECT_TRUE(std::filesystem::is_directory(folder.Carpeta() + "ROVA_HORARIO.TXT"));
    } else {
      EXPECT_GT(env.Calls(Operation::kWrite), 0) << "nothing was written before the failure";
      EXPECT_EQ(folder.ReadOutput(), kEarlierFile);
    }
    EXPECT_EQ(folder.RovaFileNames(),
              (std::vector<std::string>{"ROVA_HORARIO.TXT", "rova_asignat.txt",
                                        "rova_sesiones.txt"}));
    folder.ExpectTablesFree();
  }
}

}  // namespace
}  // namespace norvalde::importing::testing
