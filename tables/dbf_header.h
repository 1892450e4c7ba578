// The header of a dBASE table file: reading every common variant into one description of the
// table's layout, and building the header of the tables we create.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tables/dbf_field.h"
#include "tables/table.h"

namespace norvalde::tables {

// Binary storage families decide how I, B, @ and memo fields are read.
enum class DbfFamily {
  kDbase,        // dBASE III/IV/5, FoxBASE, FoxPro 2, Clipper and most converters
  kDbaseLevel7,  // 68-byte header, 48-byte descriptors, big-endian binary numbers
  kVisualFoxPro, // version 0x30-0x32: little-endian binary numbers, hidden system fields
};

struct DbfLayout {
  uint8_t version = 0;
  DbfFamily family = DbfFamily::kDbase;
  uint32_t headerCount = 0;  // the record count the header claims
  uint32_t headerLength = 0; // file offset of the first record
  uint32_t recordLength = 0; // deletion flag included
  uint8_t languageDriver = 0;
  std::string languageDriverName;  // level 7 only: bytes 32-63, "DBWINUS0", "DB437US0"...
  std::vector<DbfField> fields;
};

// Bytes of the fixed table header every variant starts with.
inline constexpr size_t kDbfBaseHeaderSize = 32;

// Reads the layout from the first `headerLength` bytes of the file (`header`; at least the 32
// fixed bytes). Returns an empty string on success, else what is wrong with the header, in
// Spanish, for the engine's damage message.
std::string ParseDbfHeader(const std::string& header, DbfLayout& layout);

// Whether the header's list of fields is empty: its terminator stands where the first field
// would be described.
bool ListsNoFields(const std::string& header);

// The header length a file's first 32 bytes claim.
uint32_t ClaimedHeaderLength(const std::string& first32);

// The header of a dBASE III PLUS table with these fields: version 0x03, the date, the record
// count, language driver 0x57, one descriptor per field and the 0x0D terminator.
std::string BuildDbfHeader(const std::vector<DbfField>& fields, int year, int month, int day,
                           uint32_t recordCount);

// The 7 bytes from offset 1 (date of last update and record count) for rewriting them in place.
std::string DbfDateAndCount(int year, int month, int day, uint32_t recordCount);

// The field as we create it: C(width), N(11,0) or N(20,6).
DbfField StoredField(const FieldDefinition& definition);

}  // namespace norvalde::tables
