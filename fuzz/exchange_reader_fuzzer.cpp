// Any bytes as a ROVA file read line by line, each line taken apart by the field functions
// the conversions use. norvalde::Error is an accepted outcome; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/error.h"
#include "exchange/exchange_fields.h"
#include "exchange/exchange_reader.h"
#include "fuzz/memory_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvalde::fuzzing::MemoryEnv env;
  env.Put("/rova/rova_prof.txt", std::string(reinterpret_cast<const char*>(data), size));
  try {
    norvalde::exchange::ExchangeReader reader(env);
    reader.Open("/rova/rova_prof.txt");
    while (!reader.AtEnd()) {
      const std::string line = reader.ReadLine();
      if (line.size() > size) __builtin_trap();  // a line is never longer than its file
      if (norvalde::exchange::IsDetailLine(line, norvalde::exchange::kGuardProf)) {
        norvalde::exchange::FieldText(line, 2, 5);
        norvalde::exchange::FieldText(line, 96, 145);
        norvalde::exchange::ColumnText(line, 52, 59);
        norvalde::exchange::FieldText(line, 9, 9);
      }
    }
    reader.Close();
  } catch (const norvalde::Error&) {
  }
  return 0;
}
