// One field of a dBASE table as its header describes it.
#pragma once

#include <cstdint>
#include <string>

namespace norvalde::tables {

struct DbfField {
  std::string name;  // as stored, trailing blanks removed
  char type = 'C';   // the dBASE type letter
  int length = 0;    // bytes in the record
  int decimals = 0;
  int offset = 0;    // position in the record; the deletion flag is byte 0
  bool hidden = false;  // a system field such as _NullFlags, not shown to the program
  bool binary = false;  // no code page translation
  // Visual FoxPro varchar and varbinary (V, Q): where the record holds the bit that says the
  // value is shorter than the field, its real length then in the field's last byte. -1: none.
  int varLengthByte = -1;
  uint8_t varLengthMask = 0;
};

}  // namespace norvalde::tables
