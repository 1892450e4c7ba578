// A whole Import over a work folder held in memory: the input is rova_asignat.txt,
// rova_sesiones.txt and the six tables SOLUC, DIASHORAST, GRUPOST, PROFT, AULAT and ASIGNOMT
// (see folder_input.h). Ending in norvalde::Error is an accepted outcome; a crash, a sanitizer
// report or a hang is a finding, and so is a failed run that leaves a ROVA_HORARIO.TXT.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"
#include "fuzz/folder_input.h"
#include "fuzz/folder_paths.h"
#include "fuzz/memory_env.h"
#include "fuzz/silent_sink.h"
#include "import/import.h"
#include "tables/work_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norvalde::fuzzing;
  MemoryEnv env;
  PutParts(env, std::string_view(reinterpret_cast<const char*>(data), size), ImportInputPaths());
  SilentSink sink;
  try {
    norvalde::importing::ImportTables tables(env);
    norvalde::importing::RunImport({env, kRovaFolder, kWorkFolder, sink}, tables);
  } catch (const norvalde::Error&) {
    // The save is the run's last step: a failed run has written no output at all.
    for (const auto& [path, bytes] : env.files) {
      if (path.find("ROVA_HORARIO") != std::string::npos) __builtin_trap();
    }
  }
  return 0;
}
