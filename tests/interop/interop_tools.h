// Running the independent dBASE readers and writers (Debian's python3-dbfread, python3-dbf
// and GDAL) from a test, through the scripts in tests/interop/scripts.
#pragma once

#include <string>
#include <vector>

namespace norvalde::interop {

// Whether Debian's own Python (/usr/bin/python3) can import `module`.
bool PythonHasModule(const std::string& module);
// Whether `program` (ogrinfo, ogr2ogr) is on the PATH.
bool HaveProgram(const std::string& program);

// Runs /usr/bin/python3 on the script of that name with the arguments (each quoted for the
// shell) and returns its standard output; fails the running test when the script fails.
std::string RunScript(const std::string& script, const std::string& argument1,
                      const std::string& argument2);

// A value as dbf_dump.py prints it: its Windows-1252 bytes in hex, "-" when empty.
std::string DumpHex(const std::string& text);

// What dbf_dump.py printed of a table.
struct Dump {
  std::vector<std::string> fields;  // "NAME TYPE LENGTH DECIMALS"
  std::vector<std::vector<std::string>> rows;  // each value as DumpHex gives it
  std::vector<std::string> FieldNames() const;  // the NAME of each field
};

// Runs dbf_dump.py with `reader` (dbfread, dbf or ogrinfo) on the table at `path`.
Dump DumpTable(const std::string& reader, const std::string& path);

}  // namespace norvalde::interop
