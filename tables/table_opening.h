// What opening a table file takes before its rows can be read: the file itself with the
// sharing asked, the header checked against the file's size, and the code page of its text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/env.h"
#include "tables/dbf_header.h"
#include "tables/table.h"

namespace norvalde::tables {

// Opens the file for the sharing and access asked. A file that refuses writing opens for
// reading only; `writable` says which. Throws the engine's open error.
std::unique_ptr<platform::File> OpenTableFile(platform::Env& env, const std::string& path,
                                              Sharing sharing, Access access, bool& writable);

// Reads and checks the header; `rows` becomes the header's record count. A damaged header, or
// a count beyond the whole records the file holds (a cut copy), is the engine's open error
// naming what is wrong; so is a dBASE II table or one without fields, which are not called
// damaged. Records beyond the count are left unread.
DbfLayout ReadLayout(platform::File& file, const std::string& path, uint32_t& rows);

// The table's code page: its language-driver byte, else the language driver's name (level 7),
// else a `.cpg` file beside it, else Windows-1252.
int TableCodePage(platform::Env& env, const std::string& path, const DbfLayout& layout);

}  // namespace norvalde::tables
