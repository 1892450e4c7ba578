#include "tables/table_opening.h"

#include <algorithm>

#include "platform/system_errors.h"
#include "tables/file_reads.h"
#include "tables/language_drivers.h"
#include "tables/table_errors.h"

namespace norvalde::tables {

using platform::Env;
using platform::File;
using platform::OpenMode;

namespace {

[[noreturn]] void ThrowDamaged(const std::string& path, const std::string& what) {
  ThrowTableError("No se puede abrir la tabla", path, "el archivo está dañado: " + what);
}

}  // namespace

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

namespace {

// dBASE II's version byte. FoxBASE writes it too, over the usual layout, which reads as any
// other table; dBASE II's own header is another layout altogether.
constexpr char kDbase2Version = 0x02;

// Reads the header: its fixed bytes, and the whole of it when the file holds that much.
int ReadHeader(File& file, uint64_t size, std::string& header) {
  header.assign(kDbfBaseHeaderSize, '\0');
  size_t got = 0;
  int error = ReadFully(file, header.data(), header.size(), got);
  const uint32_t headerLength = ClaimedHeaderLength(header);
  if (error == 0 && headerLength > kDbfBaseHeaderSize && headerLength <= size) {
    header.resize(headerLength);
    size_t more = 0;
    error = ReadFully(file, header.data() + got, headerLength - got, more);
    got += more;
  }
  header.resize(got);
  return error;
}

// What is wrong with a table of `size` bytes whose header is `header`, or "" when `layout`
// describes it.
std::string LayoutProblem(const std::string& header, uint64_t size, DbfLayout& layout) {
  if (size == 0) return "está vacío";
  if (size < kDbfBaseHeaderSize) return "es demasiado corto para ser una tabla dBASE";
  const uint32_t headerLength = ClaimedHeaderLength(header);
  if (headerLength > size) {
    return "la cabecera indica " + std::to_string(headerLength) +
           " bytes y el archivo solo tiene " + std::to_string(size);
  }
  if (std::string wrong = ParseDbfHeader(header, layout); !wrong.empty()) return wrong;
  // A count beyond the whole records there is a cut copy (or a cut last record): reading the
  // rest would pass half a table off as the whole. More records than the count is what other
  // writers leave behind after an interrupted append; the count is what they meant.
  const uint64_t present = (size - layout.headerLength) / layout.recordLength;
  if (layout.headerCount > present) {
    return "la cabecera indica " + std::to_string(layout.headerCount) +
           " registros y el archivo solo contiene " + std::to_string(present) + " completos";
  }
  return {};
}

}  // namespace

DbfLayout ReadLayout(File& file, const std::string& path, uint32_t& rows) {
  uint64_t size = 0;
  if (int error = file.Size(size)) ThrowTableError("No se puede leer la tabla", path, FileErrorCause(error));
  std::string header;
  if (int error = ReadHeader(file, size, header)) {
    ThrowTableError("No se puede leer la tabla", path, FileErrorCause(error));
  }
  DbfLayout layout;
  const std::string wrong = LayoutProblem(header, size, layout);
  if (wrong.empty()) {
    rows = layout.headerCount;
    return layout;
  }
  // Tables the engine does not read are no damage, and the message says which they are.
  if (!header.empty() && header[0] == kDbase2Version) {
    ThrowTableError("No se puede abrir la tabla", path,
                    "es una tabla de dBASE II, un formato que el programa no admite");
  }
  if (ListsNoFields(header)) {
    ThrowTableError("No se puede abrir la tabla", path, "la tabla no tiene campos");
  }
  ThrowDamaged(path, wrong);
}

int TableCodePage(Env& env, const std::string& path, const DbfLayout& layout) {
  if (int codePage = CodePageOfLanguageDriver(layout.languageDriver)) return codePage;
  if (int codePage = CodePageOfLanguageDriverName(layout.languageDriverName)) return codePage;
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

}  // namespace norvalde::tables
