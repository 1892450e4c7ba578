#include "tables/table.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tables/dbf_header.h"
#include "tables/dbf_values.h"
#include "tables/language_drivers.h"
#include "tables/table_errors.h"

namespace norvalde::tables {
namespace {

using platform::Env;
using platform::File;
using platform::OpenMode;

// Rows are read and written in blocks of about this many bytes, so walking and appending
// cost a system call per block, not per row.
constexpr size_t kBlockBytes = 256 * 1024;
constexpr char kEndOfFile = 0x1A;
constexpr char kActiveFlag = ' ';
constexpr char kDeletedFlag = '*';

// Reads until `size` bytes or the end of the file. Returns the system error or 0.
int ReadFully(File& file, char* buffer, size_t size, size_t& got) {
  got = 0;
  while (got < size) {
    size_t chunk = 0;
    if (int error = file.Read(buffer + got, size - got, chunk)) return error;
    if (chunk == 0) break;
    got += chunk;
  }
  return 0;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The length and the first seven letters of a name, upper case: equal for names that match
// ignoring case, and different for most that do not.
uint64_t NameKey(const std::string& name) {
  uint64_t key = name.size() & 0xFF;
  for (size_t i = 0; i < name.size() && i < 7; ++i) {
    key |= static_cast<uint64_t>(static_cast<uint8_t>(AsciiUpper(name[i]))) << (8 * (i + 1));
  }
  return key;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

bool HasExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && name.find_first_of("/\\", dot) == std::string::npos;
}

// Types whose value is text: read as an integer, their text must be a whole number.
bool IsTextual(char type) { return std::strchr("NFIO+YB", type) == nullptr; }

std::string ValueQuoted(const std::string& windows1252) {
  return "'" + platform::Windows1252ToUtf8(windows1252) + "'";
}

}  // namespace

class Table::Impl {
 public:
  Impl(Env& env, std::string path, std::unique_ptr<File> file, DbfLayout layout,
       uint32_t rows, bool writable, int codePage)
      : env_(env),
        path_(std::move(path)),
        file_(std::move(file)),
        layout_(std::move(layout)),
        writable_(writable),
        codePage_(codePage),
        count_(rows),
        storedCount_(rows),
        capacity_(std::max<size_t>(1, kBlockBytes / layout_.recordLength)),
        row_(layout_.recordLength, '\0') {
    cache_.reserve(capacity_ * layout_.recordLength + 1);
    for (const DbfField& field : layout_.fields) nameKeys_.push_back(NameKey(field.name));
    ClearRow();
  }

  const std::string& path() const { return path_; }
  const DbfLayout& layout() const { return layout_; }
  bool StoresWindows1252() const { return codePage_ == 1252; }

  // The visible field of that name, or null. Every row reads and sets the same fields by the
  // same names, so a name once found is remembered with its exact bytes: the next lookup of
  // that name costs one hash of a few letters and one comparison.
  const DbfField* FindField(const std::string& name) const {
    size_t index = RememberedSlot(name);
    for (; remembered_[index].field != nullptr; index = (index + 1) % kRememberedSlots) {
      if (remembered_[index].name == name) return remembered_[index].field;
    }
    const DbfField* field = SearchField(name);
    if (field != nullptr && rememberedCount_ < kMostRemembered) {
      remembered_[index] = {name, field};
      ++rememberedCount_;
    }
    return field;
  }

  // The first visible field whose name matches ignoring case; names are compared through a key
  // first, as many names have the same length.
  const DbfField* SearchField(const std::string& name) const {
    const uint64_t key = NameKey(name);
    for (size_t i = 0; i < nameKeys_.size(); ++i) {
      const DbfField& field = layout_.fields[i];
      if (nameKeys_[i] == key && !field.hidden && EqualIgnoringCase(field.name, name)) return &field;
    }
    return nullptr;
  }

  // Writes buffered rows and the header, then closes the file whatever happened.
  // A table written to is synced before it is closed: once the run says it is done, its rows
  // survive a power cut. So is an empty one we may write, which may be a table just created
  // (Create leaves the sync to the close that follows: one sync per new table, not two).
  void Close() {
    state_ = State::kBrowse;
    try {
      Flush();
    } catch (...) {
      file_->Close();
      throw;
    }
    int error = written_ || (writable_ && count_ == 0) ? file_->Sync() : 0;
    if (int closeError = file_->Close(); error == 0) error = closeError;
    if (error != 0) ThrowWriteError(error);
  }

  void First() {
    PostPending();
    position_ = 0;
    SkipDeleted();
  }

  void Next() {
    PostPending();
    if (position_ >= count_) return;
    ++position_;
    SkipDeleted();
  }

  bool AtEnd() const { return state_ == State::kBrowse && position_ >= count_; }

  void Append() {
    RequireWritable();
    PostPending();
    row_.assign(layout_.recordLength, ' ');
    state_ = State::kInsert;
  }

  void Edit() {
    RequireWritable();
    if (state_ != State::kBrowse) return;
    if (AtEnd()) ThrowTableError("No se puede modificar la tabla", path_, "no hay un registro actual");
    state_ = State::kEdit;
  }

  void Post() {
    if (state_ == State::kInsert) {
      position_ = count_;
      StoreRow(count_, row_.data());
      ++count_;
    } else if (state_ == State::kEdit) {
      StoreRow(position_, row_.data());
    }
    state_ = State::kBrowse;
  }

  char* EditableField(const DbfField& field) {
    if (state_ == State::kBrowse) {
      ThrowTableError("No se puede modificar la tabla", path_,
                      "el registro no está en edición (falta Edit o Append)");
    }
    return row_.data() + field.offset;
  }

  FieldValue Value(const DbfField& field) const {
    FieldValue value = DecodeField(field, layout_.family, row_.data() + field.offset);
    if (value.kind == FieldValue::Kind::kText && codePage_ != 1252 && !field.binary) {
      value.text = platform::ToWindows1252(value.text, codePage_);
    }
    if (value.kind == FieldValue::Kind::kInvalid) {
      throw Error("La tabla \"" + path_ + "\" está dañada: el campo '" + field.name +
                  "' contiene " + ValueQuoted(value.text) + ", que no es un número");
    }
    return value;
  }

 private:
  enum class State { kBrowse, kEdit, kInsert };

  void RequireWritable() const {
    if (!writable_) {
      ThrowTableError("No se puede modificar la tabla", path_, "está abierta solo para lectura");
    }
  }

  void PostPending() {
    if (state_ != State::kBrowse) Post();
  }

  // The row at end of table reads empty: every byte zero decodes as empty in every type.
  void ClearRow() { std::fill(row_.begin(), row_.end(), '\0'); }

  void SkipDeleted() {
    for (; position_ < count_; ++position_) {
      const char* record = Record(position_);
      if (record[0] == kActiveFlag) {
        std::memcpy(row_.data(), record, layout_.recordLength);
        return;
      }
      if (record[0] != kDeletedFlag) {
        throw Error("La tabla \"" + path_ + "\" está dañada: el registro " +
                    std::to_string(position_ + 1) + " no tiene una marca de borrado válida");
      }
    }
    ClearRow();
  }

  uint64_t RecordOffset(uint64_t index) const {
    return layout_.headerLength + index * layout_.recordLength;
  }

  bool InCache(uint32_t index) const {
    return index >= cacheFirst_ && index - cacheFirst_ < cacheRows_;
  }

  // The record `index` (< count_), read with its neighbours into the cache when not there.
  const char* Record(uint32_t index) {
    if (!InCache(index)) {
      Flush();
      const size_t rows = std::min<size_t>(capacity_, count_ - index);
      cache_.resize(rows * layout_.recordLength);
      cacheFirst_ = index;
      cacheRows_ = 0;
      size_t got = 0;
      int error = file_->Seek(RecordOffset(index));
      if (error == 0) error = ReadFully(*file_, cache_.data(), cache_.size(), got);
      if (error != 0) ThrowTableError("No se puede leer la tabla", path_, FileErrorCause(error));
      if (got < cache_.size()) {
        ThrowTableError("No se puede leer la tabla", path_, "el archivo se ha acortado");
      }
      cacheRows_ = static_cast<uint32_t>(rows);
    }
    return cache_.data() + static_cast<size_t>(index - cacheFirst_) * layout_.recordLength;
  }

  // Puts a record into the cache: over a cached one, after the cached block when it has room
  // (appending), or in a new block.
  void StoreRow(uint32_t index, const char* record) {
    const size_t length = layout_.recordLength;
    if (!InCache(index)) {
      const bool extendsCache = index == cacheFirst_ + cacheRows_ && cacheRows_ < capacity_ &&
                                index == count_;
      if (!extendsCache) {
        if (index < count_) {
          Record(index);
        } else {
          Flush();
          cache_.clear();
          cacheFirst_ = index;
          cacheRows_ = 0;
        }
      }
      if (!InCache(index)) {
        cache_.resize((cacheRows_ + 1) * length);
        ++cacheRows_;
      }
    }
    std::memcpy(cache_.data() + static_cast<size_t>(index - cacheFirst_) * length, record, length);
    dirty_ = true;
  }

  // Writes the cached block when it changed, then the end marker and the header's count when
  // rows were added, so the file on disk is always a valid table holding the rows written.
  void Flush() {
    if (!dirty_) return;
    dirty_ = false;
    const bool reachesEnd = cacheFirst_ + cacheRows_ == count_;
    const bool grew = count_ != storedCount_;
    const size_t dataSize = static_cast<size_t>(cacheRows_) * layout_.recordLength;
    if (reachesEnd) cache_.push_back(kEndOfFile);
    int error = file_->Seek(RecordOffset(cacheFirst_));
    if (error == 0) error = file_->Write(cache_.data(), cache_.size());
    if (reachesEnd) cache_.resize(dataSize);
    if (error == 0 && grew) error = WriteHeaderCount(count_);
    written_ = true;
    if (error != 0) {
      RestoreStoredRows();
      ThrowWriteError(error);
    }
    storedCount_ = count_;
  }

  int WriteHeaderCount(uint32_t count) {
    const platform::LocalTime now = env_.Now();
    const std::string bytes = DbfDateAndCount(now.year, now.month, now.day, count);
    int error = file_->Seek(1);
    return error != 0 ? error : file_->Write(bytes.data(), bytes.size());
  }

  // After a failed write: forget the rows not on disk and cut anything written past the rows
  // the header counts, so readers that ignore the count see no half-stored rows either.
  void RestoreStoredRows() {
    count_ = storedCount_;
    position_ = std::min(position_, count_);
    cacheRows_ = 0;
    cache_.clear();
    if (file_->Truncate(RecordOffset(storedCount_)) == 0 && file_->Seek(RecordOffset(storedCount_)) == 0) {
      file_->Write(&kEndOfFile, 1);
    }
  }

  [[noreturn]] void ThrowWriteError(int error) const {
    ThrowTableError("No se puede escribir en la tabla", path_, FileErrorCause(error));
  }

  Env& env_;
  std::string path_;
  std::unique_ptr<File> file_;
  DbfLayout layout_;
  bool writable_;
  int codePage_;
  uint32_t count_;        // rows of the table, buffered ones included
  uint32_t storedCount_;  // rows the header on disk counts
  size_t capacity_;       // rows per cached block
  std::string cache_;     // records cacheFirst_ .. cacheFirst_ + cacheRows_ - 1
  uint32_t cacheFirst_ = 0;
  uint32_t cacheRows_ = 0;
  bool dirty_ = false;
  bool written_ = false;  // anything written since the table was opened
  State state_ = State::kBrowse;
  uint32_t position_ = 0;
  std::string row_;  // the current record, changed in place while editing or appending
  std::vector<uint64_t> nameKeys_;  // NameKey of each field, in field order

  // Names looked up before, exactly as the caller spelt them, with the field they found: an
  // open-addressing table whose search starts at a slot picked by length and three letters
  // and ends at an empty slot. Kept at most three quarters full so searches stay short and
  // always end; names beyond that are simply searched every time.
  struct RememberedName {
    std::string name;
    const DbfField* field = nullptr;  // into layout_.fields, which never changes while open
  };
  static constexpr size_t kRememberedSlots = 128;
  static constexpr size_t kMostRemembered = kRememberedSlots / 4 * 3;
  static size_t RememberedSlot(const std::string& name) {
    const size_t size = name.size();
    if (size == 0) return 0;
    const auto byte = [&](size_t i) { return static_cast<size_t>(static_cast<uint8_t>(name[i])); };
    return (size * 31 + byte(0) * 7 + byte(size / 2) * 3 + byte(size - 1)) % kRememberedSlots;
  }
  mutable std::array<RememberedName, kRememberedSlots> remembered_;
  mutable size_t rememberedCount_ = 0;
};

namespace {

// Opens the file for the sharing and access asked. A file that refuses writing opens for
// reading only; `writable` says which.
std::unique_ptr<File> OpenTableFile(Env& env, const std::string& path, Sharing sharing,
                                    Access access, bool& writable) {
  const bool exclusive = sharing == Sharing::kExclusive;
  const OpenMode readOnly = exclusive ? OpenMode::kReadExclusive : OpenMode::kReadShared;
  const OpenMode readWrite = exclusive ? OpenMode::kReadWriteExclusive : OpenMode::kReadWriteShared;
  std::unique_ptr<File> file;
  writable = access == Access::kReadWrite;
  int error = env.Open(path, writable ? readWrite : readOnly, file);
  // A read-only file system refuses writing as a read-only file does: both open for reading.
  if (error != 0 && writable && platform::RefusesWriting(error)) {
    writable = false;
    if (env.Open(path, readOnly, file) != 0) writable = true;  // report the first failure
    else error = 0;
  }
  if (error != 0) ThrowTableError("No se puede abrir la tabla", path, FileErrorCause(error));
  return file;
}

[[noreturn]] void ThrowDamaged(const std::string& path, const std::string& what) {
  ThrowTableError("No se puede abrir la tabla", path, "el archivo está dañado: " + what);
}

// Reads and checks the header; `rows` becomes the number of whole records really present.
DbfLayout ReadLayout(File& file, const std::string& path, uint32_t& rows) {
  uint64_t size = 0;
  if (int error = file.Size(size)) ThrowTableError("No se puede leer la tabla", path, FileErrorCause(error));
  if (size == 0) ThrowDamaged(path, "está vacío");
  if (size < kDbfBaseHeaderSize) ThrowDamaged(path, "es demasiado corto para ser una tabla dBASE");
  std::string header(kDbfBaseHeaderSize, '\0');
  size_t got = 0;
  int error = ReadFully(file, header.data(), header.size(), got);
  const uint32_t headerLength = ClaimedHeaderLength(header);
  if (error == 0 && headerLength > kDbfBaseHeaderSize && headerLength <= size) {
    header.resize(headerLength);
    size_t more = 0;
    error = ReadFully(file, header.data() + got, headerLength - got, more);
    got += more;
  }
  if (error != 0) ThrowTableError("No se puede leer la tabla", path, FileErrorCause(error));
  if (headerLength > size) {
    ThrowDamaged(path, "la cabecera indica " + std::to_string(headerLength) +
                           " bytes y el archivo solo tiene " + std::to_string(size));
  }
  header.resize(got);
  DbfLayout layout;
  const std::string wrong = ParseDbfHeader(header, layout);
  if (!wrong.empty()) ThrowDamaged(path, wrong);
  // A count beyond the whole records there is a cut copy (or a cut last record): reading the
  // rest would pass half a table off as the whole. More records than the count is what other
  // writers leave behind after an interrupted append; the count is what they meant.
  const uint64_t present = (size - layout.headerLength) / layout.recordLength;
  if (layout.headerCount > present) {
    ThrowDamaged(path, "la cabecera indica " + std::to_string(layout.headerCount) +
                           " registros y el archivo solo contiene " + std::to_string(present) +
                           " completos");
  }
  rows = layout.headerCount;
  return layout;
}

// The table's code page: its language driver, else a `.cpg` file beside it, else Windows-1252.
int TableCodePage(Env& env, const std::string& path, uint8_t languageDriver) {
  if (int codePage = CodePageOfLanguageDriver(languageDriver)) return codePage;
  const std::string cpgPath = env.FindFileIgnoringCase(path.substr(0, path.rfind('.')) + ".cpg");
  std::unique_ptr<File> cpg;
  if (!env.FileExists(cpgPath) ||
      env.Open(cpgPath, OpenMode::kReadShared, cpg) != 0) {
    return 1252;
  }
  char text[64];
  size_t got = 0;
  if (ReadFully(*cpg, text, sizeof text, got) != 0) return 1252;
  const int codePage = CodePageOfCpgText(std::string(text, got));
  return codePage != 0 ? codePage : 1252;
}

}  // namespace

Table::Table(platform::Env& env, std::string componentName)
    : env_(env), componentName_(std::move(componentName)) {}

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
  if (!env_.FileExists(path)) ThrowTableError("No se puede abrir la tabla", path, "no existe el archivo");
  bool writable = false;
  std::unique_ptr<File> file = OpenTableFile(env_, path, sharing, access, writable);
  uint32_t rows = 0;
  DbfLayout layout = ReadLayout(*file, path, rows);
  const int codePage = TableCodePage(env_, path, layout.languageDriver);
  auto opened = std::make_unique<Impl>(env_, path, std::move(file), std::move(layout), rows,
                                       writable, codePage);
  opened->First();
  impl_ = std::move(opened);
}

bool Table::IsOpen() const { return impl_ != nullptr; }

void Table::Close() {
  if (!impl_) return;
  std::unique_ptr<Impl> closing = std::move(impl_);
  closing->Close();
}

void Table::First() { Opened().First(); }
void Table::Next() { Opened().Next(); }
bool Table::AtEnd() const { return Opened().AtEnd(); }
void Table::Append() { Opened().Append(); }
void Table::Edit() { Opened().Edit(); }
void Table::Post() { Opened().Post(); }

void Table::SetText(const std::string& field, const std::string& value) {
  const DbfField& target = Field(field);
  char* bytes = Opened().EditableField(target);
  switch (target.type) {
    case 'C':
      if (!Opened().StoresWindows1252() &&
          std::any_of(value.begin(), value.end(), [](char c) { return (c & 0x80) != 0; })) {
        // Windows-1252 bytes in a table of another code page would read back as other letters.
        ThrowTableError("No se puede escribir en la tabla", Opened().path(),
                        "guarda el texto en otra página de códigos");
      }
      EncodeText(target, value, bytes);
      return;
    case 'N':
    case 'F': {
      double number = 0;
      bool empty = false;
      if (!ParseNumberText(value, number, empty)) {
        throw Error(ValueQuoted(value) + " no es un valor numérico válido");
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

void Table::SetNumber(const std::string& field, double value) {
  const DbfField& target = Field(field);
  char* bytes = Opened().EditableField(target);
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

std::string Table::AsText(const std::string& field) const {
  FieldValue value = Opened().Value(Field(field));
  switch (value.kind) {
    case FieldValue::Kind::kText: return std::move(value.text);
    case FieldValue::Kind::kNumber: return FormatNumber(value.number);
    default: return {};
  }
}

double Table::AsNumber(const std::string& field) const {
  const FieldValue value = Opened().Value(Field(field));
  if (value.kind != FieldValue::Kind::kText) return value.number;
  double number = 0;
  bool empty = false;
  if (!ParseNumberText(value.text, number, empty)) {
    throw Error(ValueQuoted(value.text) + " no es un valor numérico válido");
  }
  return number;
}

int32_t Table::AsInteger(const std::string& field) const {
  const DbfField& source = Field(field);
  const FieldValue value = Opened().Value(source);
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

std::vector<std::string> Table::FieldNames() const {
  std::vector<std::string> names;
  for (const DbfField& field : Opened().layout().fields) {
    if (!field.hidden) names.push_back(field.name);
  }
  return names;
}

Table::Impl& Table::Opened() const {
  if (!impl_) throw Error("La tabla no está abierta");
  return *impl_;
}

const DbfField& Table::Field(const std::string& name) const {
  if (const DbfField* field = Opened().FindField(name)) return *field;
  const std::string prefix = componentName_.empty() ? "" : componentName_ + ": ";
  throw Error(prefix + "No se encuentra el campo '" + platform::Windows1252ToUtf8(name) + "'");
}

void Table::StoreNumber(const DbfField& field, double value, char* bytes) const {
  if (!EncodeNumber(field, value, bytes)) {
    ThrowTableError("No se puede escribir en la tabla", Opened().path(),
                    "el valor " + FormatNumber(value) + " no cabe en el campo '" + field.name + "'");
  }
}

void Table::ThrowUnwritable(const DbfField& field) const {
  ThrowTableError("No se puede escribir en la tabla", Opened().path(),
                  std::string("el campo '") + field.name + "' es de un tipo (" + field.type +
                      ") que el programa no escribe");
}

}  // namespace norvalde::tables
