// Reading a table's bytes through platform::File, which may return fewer bytes than asked.
#pragma once

#include <cstddef>

#include "platform/env.h"

namespace norvalde::tables {

// Reads until `size` bytes or the end of the file. Returns the system error or 0.
inline int ReadFully(platform::File& file, char* buffer, size_t size, size_t& got) {
  got = 0;
  while (got < size) {
    size_t chunk = 0;
    if (int error = file.Read(buffer + got, size - got, chunk)) return error;
    if (chunk == 0) break;
    got += chunk;
  }
  return 0;
}

}  // namespace norvalde::tables
