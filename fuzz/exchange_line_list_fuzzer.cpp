// Any bytes as a ROVA file loaded whole, saved and loaded again: no line of a loaded list can
// hold a line break or a NUL, so the second load must give back exactly the first list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/error.h"
#include "exchange/exchange_line_list.h"
#include "fuzz/memory_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvalde::fuzzing::MemoryEnv env;
  env.Put("/rova/rova_sesiones.txt", std::string(reinterpret_cast<const char*>(data), size));
  try {
    norvalde::exchange::ExchangeLineList lines(env);
    lines.LoadFromFile("/rova/rova_sesiones.txt");
    try {
      lines.Line(lines.Count());
      __builtin_trap();  // an index past the end must fail
    } catch (const norvalde::Error&) {
    }
    lines.SaveToFile("/rova/ROVA_HORARIO.TXT");
    norvalde::exchange::ExchangeLineList again(env);
    again.LoadFromFile("/rova/ROVA_HORARIO.TXT");
    if (again.Count() != lines.Count()) __builtin_trap();
    for (int i = 0; i < lines.Count(); ++i)
      if (again.Line(i) != lines.Line(i)) __builtin_trap();
  } catch (const norvalde::Error&) {
  }
  return 0;
}
