// SOLUC is the timetabling program's table, so it is written here by a dBASE III writer of its
// own rather than by the engine under measurement: the benchmark's input never depends on the
// code it measures.
#include <cstring>
#include <string>
#include <vector>

#include "bench/line_file.h"
#include "bench/random.h"
#include "bench/rova_generator.h"

namespace norvalde::bench {
namespace {

struct Column {
  const char* name;
  char type;  // 'C' or 'N'
  int width;
};

// The fields a timetabling program leaves, with one the Import does not read.
const std::vector<Column> kSolucColumns = {{"DIA", 'N', 2},      {"HORA", 'N', 2},
                                           {"PROF", 'C', 5},     {"CODGRUPO", 'C', 4},
                                           {"ASIG", 'C', 4},     {"AULA", 'C', 4},
                                           {"SESION", 'N', 4}};

void PutLittleEndian(std::string& bytes, size_t offset, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string Header(int64_t rows) {
  int recordLength = 1;
  for (const Column& column : kSolucColumns) recordLength += column.width;
  std::string header(32, '\0');
  header[0] = 0x03;
  header[1] = 126;  // 2026-09-01, years since 1900
  header[2] = 9;
  header[3] = 1;
  PutLittleEndian(header, 4, static_cast<uint32_t>(rows), 4);
  PutLittleEndian(header, 8, static_cast<uint32_t>(32 + 32 * kSolucColumns.size() + 1), 2);
  PutLittleEndian(header, 10, static_cast<uint32_t>(recordLength), 2);
  header[29] = 0x57;  // Windows-1252
  for (const Column& column : kSolucColumns) {
    std::string descriptor(32, '\0');
    std::memcpy(descriptor.data(), column.name, std::strlen(column.name));
    descriptor[11] = column.type;
    descriptor[16] = static_cast<char>(column.width);
    header += descriptor;
  }
  header += '\x0D';
  return header;
}

void PutText(std::string& record, const std::string& value, int width) {
  std::string cell = value.substr(0, width);
  cell.resize(width, ' ');
  record += cell;
}

void PutNumber(std::string& record, int64_t value, int width) {
  std::string digits = std::to_string(value);
  record += std::string(width - digits.size(), ' ') + digits;
}

}  // namespace

void GenerateSoluc(const Scale& scale, uint64_t seed, const std::string& workFolder) {
  Random random(seed * 8);
  LineFile out(workFolder + "/SOLUC.DBF");
  out.WriteBytes(Header(scale.solucRows));
  std::string record;
  for (int64_t i = 0; i < scale.solucRows; ++i) {
    // One row in twenty holds no lesson (day 0), as the timetabler leaves unplaced sessions.
    bool placed = !random.Percent(5);
    record.assign(1, ' ');  // the deletion flag: a live row
    PutNumber(record, placed ? 1 + random.Below(scale.days) : 0, 2);
    PutNumber(record, 1 + random.Below(scale.periodsPerDay), 2);
    // Some teachers' codes have a fifth character, which the Import writes whole.
    PutText(record, Code4(random.Below(scale.teachers)) + (random.Percent(2) ? "X" : ""), 5);
    PutText(record, Code4(random.Below(scale.groups)), 4);
    PutText(record, Code4(random.Below(scale.subjects)), 4);
    PutText(record, Code4(random.Below(scale.rooms)), 4);
    PutNumber(record, i % 10000, 4);
    out.WriteBytes(record);
  }
  out.WriteBytes("\x1A");
  out.Close();
}

}  // namespace norvalde::bench
