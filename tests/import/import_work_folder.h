// A chosen folder and a work folder in a fresh temporary directory, with the ROVA inputs and
// the six tables the Import needs, and a run of the Import on them under a fixed clock.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/table.h"
#include "tables/work_tables.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::importing::testing {

using norvalde::testing::RecordingMessageSink;

// A clock that, from each Restart, reads 09-12-2026 10:59 once and 11:00 from then on: a run
// that starts just before the full minute and ends after it.
class MinuteTurnEnv : public platform::EnvWrapper {
 public:
  MinuteTurnEnv() : EnvWrapper(platform::Env::Default()) {}
  void Restart() { readings_ = 0; }
  platform::LocalTime Now() override {
    return readings_++ == 0 ? platform::LocalTime{2026, 12, 9, 10, 59}
                            : platform::LocalTime{2026, 12, 9, 11, 0};
  }

 private:
  int readings_ = 0;
};

struct SlotRow {
  std::string dia, hora, coddiho;
};

// A SOLUC row; `dia` is the stored text, an empty one is left blank.
struct SolucRow {
  std::string dia{}, hora{}, prof{}, codgrupo{}, asig{}, aula{};
};

struct SolucShape {
  bool textDia = false;    // DIA as C(2) instead of an integer field
  bool withAula = true;
};

class ImportWorkFolder {
 public:
  ImportWorkFolder();

  const std::string& carpeta() const { return carpeta_; }  // ends with the separator
  const std::string& workFolder() const { return workFolder_; }

  // Writes `content` to carpeta + name as it is.
  void WriteInput(const std::string& name, const std::string& content) const;
  // The whole file, or "<missing>".
  std::string ReadOutput(const std::string& name = "ROVA_HORARIO.TXT") const;
  std::vector<std::string> CarpetaFileNames() const;

  // rova_asignat.txt with a header whose centre code is "28001234", rova_sesiones.txt whose
  // second line has `modeDay` in column 9, DIASHORAST with `slots`, the four tables that are
  // only opened, and SOLUC with `rows`.
  void Prepare(char modeDay, const std::vector<SlotRow>& slots,
               const std::vector<SolucRow>& rows, SolucShape shape = {});
  void WriteSlots(const std::vector<SlotRow>& slots);
  void WriteSoluc(const std::vector<SolucRow>& rows, SolucShape shape = {});

  // Runs the Import under the clock of MinuteTurnEnv, with table components that live as long
  // as the folder, as the window's do.
  void Run(RecordingMessageSink& sink) { RunWith(env_, sink); }
  // The same through another Env, normally a wrapper of env() that fails on purpose.
  void RunWith(platform::Env& env, RecordingMessageSink& sink);
  platform::Env& env() { return env_; }

  // Each of the six tables that exists can be opened exclusively, so none is still held.
  void ExpectTablesFree();

 private:
  norvalde::testing::TempFolder root_;
  std::string carpeta_;
  std::string workFolder_;
  MinuteTurnEnv env_;
  tables::ImportTables tables_{env_};
};

// Header and trailer as the run above writes them.
std::string HorarioHeader(const std::string& centreCode = "28001234");
std::string HorarioTrailer(int count, const std::string& centreCode = "28001234");

// Lines joined, each followed by CR LF.
std::string CrLfLines(const std::vector<std::string>& lines);

}  // namespace norvalde::importing::testing
