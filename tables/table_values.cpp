// The conversions between the values callers read and set and the bytes of the fields.
#include <algorithm>
#include <cstring>

#include "core/error.h"
#include "platform/code_page.h"
#include "tables/opened_table.h"
#include "tables/table.h"
#include "tables/table_errors.h"

namespace norvalde::tables {
namespace {

// Types whose value is text: read as an integer, their text must be a whole number.
bool IsTextual(char type) { return std::strchr("NFIO+YB", type) == nullptr; }

std::string ValueQuoted(const std::string& windows1252) {
  return "'" + platform::Windows1252ToUtf8(windows1252) + "'";
}

}  // namespace

void Table::SetText(const FieldHandle& field, std::string_view value) {
  PutText(field, value, Current().cursor.EditableField(Field(field)));
}

void Table::PutText(const FieldHandle& field, std::string_view value, char* bytes) const {
  const DbfField& target = Field(field);
  switch (target.type) {
    case 'C':
      if (!Current().cursor.StoresWindows1252() &&
          std::any_of(value.begin(), value.end(), [](char c) { return (c & 0x80) != 0; })) {
        // Windows-1252 bytes in a table of another code page would read back as other letters.
        ThrowTableError("No se puede escribir en la tabla", Current().records.path(),
                        "guarda el texto en otra página de códigos");
      }
      EncodeText(target, value, bytes);
      return;
    case 'N':
    case 'F': {
      double number = 0;
      bool empty = false;
      if (!ParseNumberText(value, number, empty)) {
        throw Error(ValueQuoted(std::string(value)) + " no es un valor numérico válido");
      }
      if (empty) {
        EncodeEmpty(target, bytes);
      } else {
        StoreNumber(target, number, bytes);
      }
      return;
    }
    default:
      ThrowUnwritable(target);
  }
}

void Table::SetNumber(const FieldHandle& field, double value) {
  const DbfField& target = Field(field);
  char* bytes = Current().cursor.EditableField(target);
  switch (target.type) {
    case 'C':
      EncodeText(target, FormatNumber(value), bytes);
      return;
    case 'N':
    case 'F':
      StoreNumber(target, value, bytes);
      return;
    default:
      ThrowUnwritable(target);
  }
}

std::string Table::AsText(const FieldHandle& field) const {
  FieldValue value = Current().cursor.Value(Field(field));
  switch (value.kind) {
    case FieldValue::Kind::kText: return std::move(value.text);
    case FieldValue::Kind::kNumber: return FormatNumber(value.number, decimalSeparator_);
    default: return {};
  }
}

std::string_view Table::TextView(const FieldHandle& field, std::string& scratch) const {
  const DbfField& source = Field(field);
  if (source.type == 'C' && Current().cursor.StoresWindows1252()) {
    return WithoutTrailingBlanks(Current().cursor.Bytes(source));
  }
  scratch = AsText(field);
  return scratch;
}

double Table::AsNumber(const FieldHandle& field) const {
  const FieldValue value = Current().cursor.Value(Field(field));
  if (value.kind != FieldValue::Kind::kText) return value.number;
  double number = 0;
  bool empty = false;
  if (!ParseNumberText(value.text, number, empty)) {
    throw Error(ValueQuoted(value.text) + " no es un valor numérico válido");
  }
  return number;
}

int32_t Table::AsInteger(const FieldHandle& field) const {
  const DbfField& source = Field(field);
  const FieldValue value = Current().cursor.Value(source);
  int32_t result = 0;
  const bool textual = value.kind == FieldValue::Kind::kText ||
                       (value.kind == FieldValue::Kind::kEmpty && IsTextual(source.type));
  if (textual) {
    if (!ParseWholeNumber(value.text, result)) {
      throw Error(ValueQuoted(value.text) + " no es un valor entero válido");
    }
  } else if (!RoundHalfEven(value.number, result)) {
    throw Error(ValueQuoted(FormatNumber(value.number)) + " no es un valor entero válido");
  }
  return result;
}

void Table::StoreNumber(const DbfField& field, double value, char* bytes) const {
  if (!EncodeNumber(field, value, bytes)) {
    ThrowTableError("No se puede escribir en la tabla", Current().records.path(),
                    "el valor " + FormatNumber(value) + " no cabe en el campo '" + field.name + "'");
  }
}

void Table::ThrowUnwritable(const DbfField& field) const {
  ThrowTableError("No se puede escribir en la tabla", Current().records.path(),
                  std::string("el campo '") + field.name + "' es de un tipo (" + field.type +
                      ") que el programa no escribe");
}

}  // namespace norvalde::tables
