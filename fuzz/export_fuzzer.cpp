// A whole Export over a ROVA folder held in memory: the input is the seven ROVA files (see
// folder_input.h), the six tables are created in a memory work folder and read back. Ending
// in norvalde::Error is an accepted outcome; a crash, a sanitizer report or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"
#include "export/export.h"
#include "fuzz/folder_input.h"
#include "fuzz/folder_paths.h"
#include "fuzz/memory_env.h"
#include "fuzz/silent_sink.h"
#include "tables/table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norvalde::fuzzing;
  MemoryEnv env;
  PutParts(env, std::string_view(reinterpret_cast<const char*>(data), size), ExportInputPaths());
  SilentSink sink;
  try {
    norvalde::exporting::RunExport({env, kRovaFolder, kWorkFolder, sink});
  } catch (const norvalde::Error&) {
  }
  // Every table the run left must be a valid one: opened and walked to its end.
  for (const char* name : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"}) {
    if (!env.FileExists(kWorkFolder + "/" + name + ".DBF")) continue;
    norvalde::tables::Table table(env);
    table.Open(kWorkFolder, name, norvalde::tables::Sharing::kShared,
               norvalde::tables::Access::kReadOnly);
    for (table.First(); !table.AtEnd(); table.Next()) {
    }
  }
  return 0;
}
