#include "tables/dbf_header.h"

#include <cstring>

namespace norvalde::tables {
namespace {

constexpr size_t kDescriptorSize = 32;
constexpr size_t kLevel7HeaderSize = 68;
constexpr size_t kLevel7DescriptorSize = 48;
constexpr uint8_t kTerminator = 0x0D;

uint32_t Little16(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
}

uint32_t Little32(const std::string& bytes, size_t at) {
  return Little16(bytes, at) | Little16(bytes, at + 2) << 16;
}

void PutLittle(std::string& bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool IsVisualFoxPro(uint8_t version) { return version >= 0x30 && version <= 0x32; }
bool IsLevel7(uint8_t version) { return (version & 0x07) == 4; }

// The byte size a binary type must have, or 0 when any length is allowed.
int FixedLength(char type, DbfFamily family) {
  switch (type) {
    case 'I': case '+': return 4;
    case 'O': case '@': case 'Y': case 'T': return 8;
    case 'B': return family == DbfFamily::kVisualFoxPro ? 8 : 0;
    case 'L': return 1;
    default: return 0;
  }
}

bool IsKnownType(char type) {
  return type != 0 && std::strchr("CNFLDMBGPI+O@YT0VQW", type) != nullptr;
}

// Name bytes up to the first NUL, trailing blanks removed.
std::string FieldName(const std::string& header, size_t at, size_t maxSize) {
  size_t size = 0;
  while (size < maxSize && header[at + size] != '\0') ++size;
  while (size > 0 && header[at + size - 1] == ' ') --size;
  return header.substr(at, size);
}

// Visual FoxPro gives each varchar and varbinary field a bit in the hidden _NullFlags field,
// and each field that may be null another, in field order from the lowest bit of its first
// byte on; a varchar's own bit comes before its null bit.
void PlaceVarLengthBits(const std::string& header, size_t first, DbfLayout& layout) {
  const DbfField* nullFlags = nullptr;
  for (const DbfField& field : layout.fields) {
    if (field.type == '0') nullFlags = &field;
  }
  if (nullFlags == nullptr) return;
  int bit = 0;
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    DbfField& field = layout.fields[i];
    if ((field.type == 'V' || field.type == 'Q') && bit / 8 < nullFlags->length) {
      field.varLengthByte = nullFlags->offset + bit / 8;
      field.varLengthMask = static_cast<uint8_t>(1u << (bit % 8));
    }
    if (field.type == 'V' || field.type == 'Q') ++bit;
    if ((static_cast<uint8_t>(header[first + i * kDescriptorSize + 18]) & 0x02) != 0) ++bit;
  }
}

// Reads the descriptors of one layout. Returns "" when they are consistent with the header,
// else what is wrong.
std::string ReadDescriptors(const std::string& header, DbfLayout& layout, size_t first,
                            size_t slotSize) {
  layout.fields.clear();
  const size_t end = header.size();
  size_t at = first;
  int offset = 1;
  for (;; at += slotSize) {
    if (at >= end) {
      // Some writers leave out the terminator when the descriptors fill the header exactly.
      if (at == end && !layout.fields.empty()) break;
      return "falta la marca de fin de la lista de campos";
    }
    if (static_cast<uint8_t>(header[at]) == kTerminator) break;
    if (at + slotSize > end) return "la lista de campos excede la longitud de la cabecera";
    DbfField field;
    const bool level7 = slotSize == kLevel7DescriptorSize;
    field.name = FieldName(header, at, level7 ? 32 : 11);
    field.type = header[at + (level7 ? 32 : 11)];
    field.length = static_cast<uint8_t>(header[at + (level7 ? 33 : 16)]);
    field.decimals = static_cast<uint8_t>(header[at + (level7 ? 34 : 17)]);
    const std::string number = std::to_string(layout.fields.size() + 1);
    if (field.name.empty()) return "el campo " + number + " no tiene nombre";
    if (!IsKnownType(field.type)) return "el campo " + number + " tiene un tipo desconocido";
    if (field.type == 'C' && !level7) {
      // FoxPro and Clipper keep the high byte of a long text field's length in the decimals.
      field.length += 256 * field.decimals;
      field.decimals = 0;
    }
    const int fixed = FixedLength(field.type, layout.family);
    if (field.length == 0 || (fixed != 0 && field.length != fixed)) {
      return "el campo " + number + " tiene una longitud no válida";
    }
    field.binary = field.type == 'Q' || field.type == 'W';  // varbinary and blob hold bytes
    if (layout.family == DbfFamily::kVisualFoxPro) {
      const uint8_t flags = static_cast<uint8_t>(header[at + 18]);
      field.hidden = (flags & 0x01) != 0 || field.type == '0';
      field.binary = field.binary || (flags & 0x04) != 0;
    }
    field.offset = offset;
    offset += field.length;
    layout.fields.push_back(std::move(field));
  }
  if (layout.fields.empty()) return "la tabla no tiene campos";
  if (layout.family == DbfFamily::kVisualFoxPro) PlaceVarLengthBits(header, first, layout);
  // A record longer than its fields is read (the rest ignored); a shorter one cannot be.
  if (static_cast<uint32_t>(offset) > layout.recordLength) {
    return "la longitud de registro (" + std::to_string(layout.recordLength) +
           ") es menor que la suma de los campos (" + std::to_string(offset) + ")";
  }
  return {};
}

void PutDate(std::string& bytes, size_t at, int year, int month, int day) {
  bytes[at] = static_cast<char>(year - 1900);
  bytes[at + 1] = static_cast<char>(month);
  bytes[at + 2] = static_cast<char>(day);
}

}  // namespace

uint32_t ClaimedHeaderLength(const std::string& first32) { return Little16(first32, 8); }

bool ListsNoFields(const std::string& header) {
  const size_t first = !header.empty() && IsLevel7(static_cast<uint8_t>(header[0]))
                           ? kLevel7HeaderSize
                           : kDbfBaseHeaderSize;
  return header.size() > first && static_cast<uint8_t>(header[first]) == kTerminator;
}

std::string ParseDbfHeader(const std::string& header, DbfLayout& layout) {
  if (header.size() < kDbfBaseHeaderSize) return "la cabecera está incompleta";
  layout = DbfLayout{};
  layout.version = static_cast<uint8_t>(header[0]);
  layout.headerCount = Little32(header, 4);
  layout.headerLength = Little16(header, 8);
  layout.recordLength = Little16(header, 10);
  layout.languageDriver = static_cast<uint8_t>(header[29]);
  if (layout.headerLength > header.size()) return "la cabecera está incompleta";
  if (layout.headerLength < kDbfBaseHeaderSize + 1) {
    return "la longitud de cabecera (" + std::to_string(layout.headerLength) + ") no es válida";
  }
  const std::string own = header.substr(0, layout.headerLength);
  if (IsLevel7(layout.version) && own.size() > kLevel7HeaderSize) {
    layout.family = DbfFamily::kDbaseLevel7;
    if (ReadDescriptors(own, layout, kLevel7HeaderSize, kLevel7DescriptorSize).empty()) {
      layout.languageDriverName = FieldName(own, kDbfBaseHeaderSize, 32);
      return {};
    }
  }
  layout.family = IsVisualFoxPro(layout.version) ? DbfFamily::kVisualFoxPro : DbfFamily::kDbase;
  return ReadDescriptors(own, layout, kDbfBaseHeaderSize, kDescriptorSize);
}

std::string BuildDbfHeader(const std::vector<DbfField>& fields, int year, int month, int day,
                           uint32_t recordCount) {
  const size_t headerLength = kDbfBaseHeaderSize + kDescriptorSize * fields.size() + 1;
  std::string header(headerLength, '\0');
  header[0] = 0x03;
  PutDate(header, 1, year, month, day);
  PutLittle(header, 4, recordCount, 4);
  PutLittle(header, 8, static_cast<uint32_t>(headerLength), 2);
  uint32_t recordLength = 1;
  for (const DbfField& field : fields) recordLength += field.length;
  PutLittle(header, 10, recordLength, 2);
  header[29] = 0x57;
  size_t at = kDbfBaseHeaderSize;
  for (const DbfField& field : fields) {
    header.replace(at, field.name.size(), field.name);
    header[at + 11] = field.type;
    header[at + 16] = static_cast<char>(field.length);
    header[at + 17] = static_cast<char>(field.decimals);
    at += kDescriptorSize;
  }
  header[at] = static_cast<char>(kTerminator);
  return header;
}

std::string DbfDateAndCount(int year, int month, int day, uint32_t recordCount) {
  std::string bytes(7, '\0');
  PutDate(bytes, 0, year, month, day);
  PutLittle(bytes, 3, recordCount, 4);
  return bytes;
}

DbfField StoredField(const FieldDefinition& definition) {
  DbfField field;
  field.name = definition.name;
  switch (definition.type) {
    case FieldType::kText:
      field.type = 'C';
      field.length = definition.width;
      break;
    case FieldType::kInteger:
      field.type = 'N';
      field.length = 11;
      break;
    case FieldType::kNumber:
      field.type = 'N';
      field.length = 20;
      field.decimals = 6;
      break;
  }
  return field;
}

}  // namespace norvalde::tables
