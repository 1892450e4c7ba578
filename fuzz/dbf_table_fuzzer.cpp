// Any bytes as a dBASE table: opened, walked, every field read as text, number and integer.
// A damaged table must end in norvalde::Error; anything else (a crash, a sanitizer report, a
// hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "fuzz/memory_env.h"
#include "tables/table.h"

namespace {

// Reading a field may fail on its own (a text that is no whole number) without ending the walk.
template <typename Read>
void ReadIgnoringValueErrors(Read read) {
  try {
    read();
  } catch (const norvalde::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvalde::fuzzing::MemoryEnv env;
  env.Put("/qtemp/SOLUC.DBF", std::string(reinterpret_cast<const char*>(data), size));
  try {
    norvalde::tables::Table table(env, "wwTableSoluc");
    table.Open("/qtemp", "SOLUC", norvalde::tables::Sharing::kShared,
               norvalde::tables::Access::kReadOnly);
    std::vector<norvalde::tables::FieldHandle> fields;
    for (const std::string& name : table.FieldNames()) fields.push_back(table.FindField(name));
    // Every row is read as text. Numbers are read on the first rows only: every row has the
    // same layout, so a byte pattern that trips the number parsers in a late row trips them as
    // well in an early one, and a failed number read is a thrown error, which under the
    // sanitizers cost a third of the time when every cell of every row was read three ways.
    constexpr int kRowsReadAsNumbers = 16;
    std::string scratch;
    // A table that claims more rows than its bytes can hold must stop at its end; the bound only
    // keeps a wrongly endless walk from looking like a slow input.
    int rows = 0;
    for (table.First(); !table.AtEnd() && rows <= static_cast<int>(size); table.Next(), ++rows) {
      for (const norvalde::tables::FieldHandle& field : fields) {
        ReadIgnoringValueErrors([&] {
          if (table.TextView(field, scratch) != table.AsText(field)) __builtin_trap();
        });
        if (rows >= kRowsReadAsNumbers) continue;
        ReadIgnoringValueErrors([&] { table.AsNumber(field); });
        ReadIgnoringValueErrors([&] { table.AsInteger(field); });
      }
    }
    if (rows > static_cast<int>(size)) __builtin_trap();  // more rows than bytes: a walk that never ends
    table.Close();
  } catch (const norvalde::Error&) {
  }
  return 0;
}
