// Inside the engine: what a Table holds while open, its records and the walk over them.
#pragma once

#include <memory>
#include <string>

#include "tables/cursor.h"
#include "tables/record_file.h"
#include "tables/table.h"

namespace norvalde::tables {

struct Table::Opened {
  Opened(platform::Env& env, std::string path, std::unique_ptr<platform::File> file,
         DbfLayout layout, uint32_t rows, bool writable, int codePage)
      : records(env, std::move(path), std::move(file), std::move(layout), rows, writable),
        cursor(records, writable, codePage) {}

  RecordFile records;
  Cursor cursor;
};

}  // namespace norvalde::tables
