#include "tables/table.h"

#include <utility>

#include "core/error.h"
#include "platform/code_page.h"
#include "platform/paths.h"
#include "tables/dbf_header.h"
#include "tables/opened_table.h"
#include "tables/table_errors.h"
#include "tables/table_opening.h"

namespace norvalde::tables {
namespace {

using platform::File;
using platform::OpenMode;

constexpr char kEndOfFile = 0x1A;
// A folder named as the table cannot be replaced or read; the user has to move it.
constexpr const char* kFolderInPlace = "en su lugar hay una carpeta con ese nombre";

bool HasExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && name.find_first_of("/\\", dot) == std::string::npos;
}

}  // namespace

Table::Table(platform::Env& env, std::string componentName, char decimalSeparator)
    : env_(env), componentName_(std::move(componentName)), decimalSeparator_(decimalSeparator) {}

Table::~Table() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; Close has already written what it could.
  }
}

void Table::Create(platform::Env& env, const std::string& folder, const std::string& fileName,
                   const std::vector<FieldDefinition>& fields) {
  const std::string path = env.FindFileIgnoringCase(platform::JoinPath(folder, fileName));
  std::vector<DbfField> stored;
  for (const FieldDefinition& definition : fields) {
    if (definition.name.empty() || definition.name.size() > 10 ||
        (definition.type == FieldType::kText && (definition.width < 1 || definition.width > 254))) {
      ThrowTableError("No se puede crear la tabla", path,
                      "el campo '" + definition.name + "' no tiene un nombre o un ancho válido");
    }
    stored.push_back(StoredField(definition));
  }
  if (stored.empty()) ThrowTableError("No se puede crear la tabla", path, "no tiene campos");
  if (!env.FolderExists(folder)) ThrowTableError("No se puede crear la tabla", path, "no existe la carpeta");
  if (env.FolderExists(path)) ThrowTableError("No se puede crear la tabla", path, kFolderInPlace);
  const platform::LocalTime now = env.Now();
  const std::string bytes = BuildDbfHeader(stored, now.year, now.month, now.day, 0) + kEndOfFile;
  std::unique_ptr<File> file;
  if (int error = env.Open(path, OpenMode::kCreateExclusive, file)) {
    ThrowTableError("No se puede crear la tabla", path, FileErrorCause(error));
  }
  int error = file->Write(bytes.data(), bytes.size());
  const int closeError = file->Close();
  if (error == 0) error = closeError;
  if (error != 0) {
    env.DeleteFile(path);  // a half-written header is no table
    ThrowTableError("No se puede crear la tabla", path, FileErrorCause(error));
  }
}

void Table::Open(const std::string& folder, const std::string& name, Sharing sharing,
                 Access access) {
  Close();
  const std::string fileName = HasExtension(name) ? name : name + ".DBF";
  const std::string path = env_.FindFileIgnoringCase(platform::JoinPath(folder, fileName));
  if (!env_.FolderExists(folder)) ThrowTableError("No se puede abrir la tabla", path, "no existe la carpeta");
  if (env_.FolderExists(path)) ThrowTableError("No se puede abrir la tabla", path, kFolderInPlace);
  if (!env_.FileExists(path)) ThrowTableError("No se puede abrir la tabla", path, "no existe el archivo");
  bool writable = false;
  std::unique_ptr<platform::File> file = OpenTableFile(env_, path, sharing, access, writable);
  uint32_t rows = 0;
  DbfLayout layout = ReadLayout(*file, path, rows);
  const int codePage = TableCodePage(env_, path, layout);
  auto opened = std::make_unique<Opened>(env_, path, std::move(file), std::move(layout), rows,
                                         writable, codePage);
  opened->cursor.First();
  opened_ = std::move(opened);
  fields_ = opened_->records.layout().fields.data();
  fieldCount_ = opened_->records.layout().fields.size();
}

bool Table::IsOpen() const { return opened_ != nullptr; }

void Table::Close() {
  if (!opened_) return;
  std::unique_ptr<Opened> closing = std::move(opened_);
  fields_ = nullptr;
  fieldCount_ = 0;
  closing->cursor.Drop();
  closing->records.Close();
}

void Table::First() { Current().cursor.First(); }
void Table::Next() { Current().cursor.Next(); }
bool Table::AtEnd() const { return Current().cursor.AtEnd(); }
void Table::Append() { Current().cursor.Append(); }
void Table::Edit() { Current().cursor.Edit(); }
void Table::Post() { Current().cursor.Post(); }

FieldHandle Table::FindField(const std::string& name) const {
  const std::vector<DbfField>& fields = Current().records.layout().fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i].hidden && platform::EqualIgnoringAsciiCase(fields[i].name, name)) {
      return {static_cast<int>(i), name};
    }
  }
  return {-1, name};
}

Table::FieldSpan Table::Span(const FieldHandle& field) const {
  const DbfField& stored = Field(field);
  return {static_cast<size_t>(stored.offset), static_cast<size_t>(stored.length)};
}

size_t Table::RecordLength() const { return Current().records.layout().recordLength; }

bool Table::StoresTextAsIs(const FieldHandle& field) const {
  return Field(field).type == 'C' && Current().cursor.StoresWindows1252();
}

char* Table::EditableRow() { return Current().cursor.EditableRow(); }

void Table::AppendRecord(const char* record) { Current().cursor.AppendRecord(record); }

std::string_view Table::StoredBytes(const FieldHandle& field) const {
  return Current().cursor.Bytes(Field(field));
}

std::vector<std::string> Table::FieldNames() const {
  std::vector<std::string> names;
  for (const DbfField& field : Current().records.layout().fields) {
    if (!field.hidden) names.push_back(field.name);
  }
  return names;
}

void Table::ThrowNotOpen() { throw Error("La tabla no está abierta"); }

void Table::ThrowMissingField(const FieldHandle& handle) const {
  Current();  // without an open table, that is the error
  const std::string prefix = componentName_.empty() ? "" : componentName_ + ": ";
  throw Error(prefix + "No se encuentra el campo '" + platform::Windows1252ToUtf8(handle.name()) +
              "'");
}

}  // namespace norvalde::tables
