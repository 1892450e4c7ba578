// Which code page a dBASE table's text is stored in.
#pragma once

#include <cstdint>
#include <string>

namespace norvalde::tables {

// The code page of a language-driver byte (offset 29 of the header); 0 when the byte is 0,
// which records no code page. Unknown drivers give 1252, the code page of our own tables.
int CodePageOfLanguageDriver(uint8_t driver);

// The code page of a level 7 language-driver name (header bytes 32-63): "DBWINUS0", "DBWINES0"
// and the other Windows drivers give 1252, "DB437US0" 437, "DB850ES0" 850 (the digits after
// "DB"); 0 for a name we do not know.
int CodePageOfLanguageDriverName(const std::string& name);

// The code page named by a `.cpg` sidecar file ("CP850", "1252", "UTF-8", "ISO-8859-1"...);
// 0 when the text names none we know.
int CodePageOfCpgText(const std::string& text);

}  // namespace norvalde::tables
