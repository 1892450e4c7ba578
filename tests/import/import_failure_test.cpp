// Every failure ends the Import with its message, shows no closing message, leaves an earlier
// ROVA_HORARIO.TXT exactly as it was and leaves no table held.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>

#include "import_work_folder.h"
#include "platform/error.h"
#include "tables/table.h"
#include "tests/support/faulty_env.h"

namespace norvalde::importing::testing {
namespace {

using norvalde::testing::Operation;

const std::string kEarlierFile = "0EARLIER\r\n1KEEP ME\r\n9EARLIER\r\n";

struct FailureCase {
  std::string name;
  // Spoils the prepared folder.
  std::function<void(ImportWorkFolder&)> spoil;
  std::function<std::string(const ImportWorkFolder&)> message;
  // Messages naming a system or engine cause are checked up to the cause.
  bool prefixOnly = false;
  // Makes the Env to run with; the folder's own when empty.
  std::function<std::unique_ptr<platform::Env>(ImportWorkFolder&)> env = {};
};

std::unique_ptr<platform::Env> Failing(ImportWorkFolder& folder, Operation operation,
                                       int error) {
  auto env = std::make_unique<norvalde::testing::FaultyEnv>(folder.env());
  env->FailAlways(operation, error);
  return env;
}

std::string InCarpeta(const ImportWorkFolder& folder, const std::string& name) {
  return folder.carpeta() + name;
}

const SolucRow kLesson = {"1", "1", "P01", "1ESA", "MAT", "A12"};

std::vector<FailureCase> FailureCases() {
  return {
      {"MissingAsignat",
       [](ImportWorkFolder& f) {
         std::filesystem::remove(InCarpeta(f, "rova_asignat.txt"));
       },
       [](const ImportWorkFolder& f) {
         return "Cannot open file \"" + InCarpeta(f, "rova_asignat.txt") + "\". ";
       },
       true},
      {"MissingSesiones",
       [](ImportWorkFolder& f) {
         std::filesystem::remove(InCarpeta(f, "rova_sesiones.txt"));
       },
       [](const ImportWorkFolder& f) {
         return "Cannot open file \"" + InCarpeta(f, "rova_sesiones.txt") + "\". ";
       },
       true},
      {"OneLineSesiones",
       [](ImportWorkFolder& f) { f.WriteInput("rova_sesiones.txt", "0ROVA_SESIONES.TXT\r\n"); },
       [](const ImportWorkFolder&) { return std::string("List index out of bounds (1)"); }},
      {"SolucWithoutAula",
       [](ImportWorkFolder& f) { f.WriteSoluc({{"0"}, kLesson}, {.withAula = false}); },
       [](const ImportWorkFolder&) {
         return std::string("wwTableSoluc: No se encuentra el campo 'AULA'");
       }},
      {"SlotsWithoutCoddiho",
       [](ImportWorkFolder& f) {
         tables::Table::Create(f.env(), f.workFolder(), "DIASHORAST.DBF",
                               {{"DIA", tables::FieldType::kText, 20},
                                {"HORA", tables::FieldType::kText, 8}});
         tables::Table slots(f.env());
         slots.Open(f.workFolder(), "DIASHORAST", tables::Sharing::kShared,
                    tables::Access::kReadWrite);
         slots.Append();
         slots.SetText("DIA", "L");
         slots.Post();
         slots.Close();
       },
       [](const ImportWorkFolder&) {
         return std::string("wwTableTramos: No se encuentra el campo 'CODDIHO'");
       }},
      {"BlankTextDia",
       [](ImportWorkFolder& f) { f.WriteSoluc({kLesson, {""}}, {.textDia = true}); },
       [](const ImportWorkFolder&) { return std::string("'' no es un valor entero válido"); }},
      {"LetterTextDia",
       [](ImportWorkFolder& f) { f.WriteSoluc({{"L"}}, {.textDia = true}); },
       [](const ImportWorkFolder&) { return std::string("'L' no es un valor entero válido"); }},
      {"FinalRenameRefused", [](ImportWorkFolder&) {},
       [](const ImportWorkFolder& f) {
         return "Cannot create file \"" + f.carpeta() + "/ROVA_HORARIO.TXT\". ";
       },
       true, [](ImportWorkFolder& f) { return Failing(f, Operation::kRename, EACCES); }},
      {"DiskFull", [](ImportWorkFolder&) {},
       [](const ImportWorkFolder&) { return std::string("Stream write error"); }, false,
       [](ImportWorkFolder& f) { return Failing(f, Operation::kWrite, ENOSPC); }},
  };
}

class ImportFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ImportFailureTest, EndsWithItsMessageAndLeavesTheEarlierFile) {
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {kLesson});
  folder.WriteInput("ROVA_HORARIO.TXT", kEarlierFile);
  GetParam().spoil(folder);
  std::unique_ptr<platform::Env> env = GetParam().env ? GetParam().env(folder) : nullptr;

  RecordingMessageSink sink;
  try {
    folder.RunWith(env ? *env : folder.env(), sink);
    ADD_FAILURE() << "the run did not fail";
  } catch (const Error& error) {
    const std::string expected = GetParam().message(folder);
    const std::string got = error.what();
    EXPECT_EQ(GetParam().prefixOnly ? got.substr(0, expected.size()) : got, expected);
  }

  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(folder.ReadOutput(), kEarlierFile);
  for (const std::string& name : folder.CarpetaFileNames()) {
    EXPECT_TRUE(name == "rova_asignat.txt" || name == "rova_sesiones.txt" ||
                name == "ROVA_HORARIO.TXT")
        << name << " left behind";
  }
  folder.ExpectTablesFree();
}

INSTANTIATE_TEST_SUITE_P(Each, ImportFailureTest, ::testing::ValuesIn(FailureCases()),
                         [](const auto& info) { return info.param.name; });

// GRUPOST is never read, yet the run needs it; the engine's message names the table.
TEST(ImportTableFailureTest, MissingUnreadTableEndsTheRun) {
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {kLesson});
  folder.WriteInput("ROVA_HORARIO.TXT", kEarlierFile);
  std::filesystem::remove(folder.workFolder() + "/GRUPOST.DBF");

  RecordingMessageSink sink;
  try {
    folder.Run(sink);
    ADD_FAILURE() << "the run did not fail";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("GRUPOST"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(folder.ReadOutput(), kEarlierFile);
  folder.ExpectTablesFree();  // SOLUC, opened before GRUPOST, was let go
}

TEST(ImportTableFailureTest, TableHeldElsewhereEndsTheRunAndFreesTheOthers) {
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {kLesson});
  folder.WriteInput("ROVA_HORARIO.TXT", kEarlierFile);
  RecordingMessageSink sink;
  {
    tables::Table holder(folder.env());
    holder.Open(folder.workFolder(), "AULAT", tables::Sharing::kShared,
                tables::Access::kReadOnly);
    try {
      folder.Run(sink);
      ADD_FAILURE() << "the run did not fail";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find("AULAT"), std::string::npos) << error.what();
    }
  }
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(folder.ReadOutput(), kEarlierFile);
  folder.ExpectTablesFree();

  folder.Run(sink);  // once the other holder has gone, the next run succeeds
  EXPECT_EQ(sink.events, (std::vector<std::string>{"<cursor restored>", "Proceso Terminado"}));
}

}  // namespace
}  // namespace norvalde::importing::testing
