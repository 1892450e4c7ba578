// Field values of dBASE records: decoding every stored type, encoding the types we write, and
// the number rules shared by reading and writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/dbf_header.h"

namespace norvalde::tables {

struct FieldValue {
  enum class Kind {
    kEmpty,    // blank, null marker or zero bytes: "" as text, 0 as a number
    kText,     // `text` holds the table's bytes (code page not yet converted)
    kNumber,   // `number` holds the value
    kInvalid,  // a numeric field holding something that is not a number; `text` shows it
  };
  Kind kind = Kind::kEmpty;
  std::string text;
  double number = 0;
};

// A text field's bytes without the blanks (or NULs) that fill it to its width: its text.
std::string_view WithoutTrailingBlanks(std::string_view bytes);

// The value of `field` in `record`, a whole record of the table whose fields hold it.
FieldValue DecodeField(const DbfField& field, DbfFamily family, const char* record);

// Text of a number or numeric field: spaces and NULs around it ignored, "," taken as the
// decimal point. Blank, all '*' or all '-' is empty. Returns false when it is not a number.
bool ParseNumberText(std::string_view text, double& value, bool& empty);

// Up to 15 significant digits, shortest form, `decimalSeparator` as the decimal point: 2.99
// (2,99), 3, -10, 0.5. From 1e15 up, and below 1e-4, in exponent form: 1e+15, 1.5e-05 (1,5e-05).
std::string FormatNumber(double value, char decimalSeparator = '.');

// The nearest whole number, halves to the even one. False when outside 32 bits or not finite.
bool RoundHalfEven(double value, int32_t& result);

// A decimal whole number with an optional sign (leading blanks allowed), within 32 bits.
bool ParseWholeNumber(std::string_view text, int32_t& result);

// Writes `text` into the field, cut to its length and padded with blanks.
void EncodeText(const DbfField& field, std::string_view text, char* bytes);

// Writes `value` right-aligned with exactly the field's decimals. False (field unchanged) when
// it does not fit or is not finite: digits are never dropped.
bool EncodeNumber(const DbfField& field, double value, char* bytes);

// Fills the field with blanks: the empty value of every type we write.
void EncodeEmpty(const DbfField& field, char* bytes);

}  // namespace norvalde::tables
