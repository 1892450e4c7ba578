// The test folders (tests/support) with the ROVA inputs and the six tables the Import needs,
// and a run of the Import on them under a fixed clock.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/table.h"
#include "import/import_tables.h"
#include "tables/work_tables.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::importing::testing {

using norvalde::testing::CrLfLines;
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

class ImportWorkFolder : public norvalde::testing::TestFolders {
 public:
  // The timetable the Import writes, or "<missing>".
  std::string ReadOutput() const { return ReadRova("ROVA_HORARIO.TXT"); }

  // rova_asignat.txt with a header whose centre code is "28001234", rova_sesiones.txt whose
  // second line has `modeDay` in column 9, DIASHORAST with `slots`, the four tables that are
  // only opened, and SOLUC with `rows`.
  void Prepare(char modeDay, const std::vector<SlotRow>& slots,
               const std::vector<SolucRow>& rows, SolucShape shape = {});
  void WriteSlots(const std::vector<SlotRow>& slots);
  void WriteSoluc(const std::vector<SolucRow>& rows, SolucShape shape = {});

  // Runs the Import under the clock of MinuteTurnEnv, with table components that live as long
  // as the folder, as the window's do; without `sink`, what it shows goes to `messages`.
  void Run(RecordingMessageSink& sink) { RunWith(env_, sink); }
  void Run() { Run(messages); }
  // The same with table components that read numbers as text with `decimalSeparator`.
  void Run(RecordingMessageSink& sink, char decimalSeparator);
  // The same through another Env, normally a wrapper of env() that fails on purpose.
  void RunWith(platform::Env& env, RecordingMessageSink& sink);
  platform::Env& env() { return env_; }

  // Each of the six tables that exists can be opened exclusively, so none is still held.
  void ExpectTablesFree();

 private:
  MinuteTurnEnv env_;
  importing::ImportTables tables_{env_};
};

// Header and trailer as the run above writes them.
std::string HorarioHeader(const std::string& centreCode = "28001234");
std::string HorarioTrailer(int count, const std::string& centreCode = "28001234");

}  // namespace norvalde::importing::testing
