#include "tests/interop/interop_tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace norvalde::interop {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command; `output` receives its standard output. Returns its exit status.
int Run(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  return pclose(pipe);
}

}  // namespace

bool PythonHasModule(const std::string& module) {
  std::string output;
  return Run(std::string(kPython) + " -c " + Quoted("import " + module) + " 2>/dev/null",
             output) == 0;
}

bool HaveProgram(const std::string& program) {
  std::string output;
  return Run("command -v " + Quoted(program) + " >/dev/null 2>&1", output) == 0;
}

std::string RunScript(const std::string& script, const std::string& argument1,
                      const std::string& argument2) {
  const std::string command = std::string(kPython) + " " +
                              Quoted(std::string(NORVALDE_INTEROP_SCRIPTS) + "/" + script) + " " +
                              Quoted(argument1) + " " + Quoted(argument2);
  std::string output;
  const int status = Run(command, output);
  EXPECT_EQ(status, 0) << command;
  return output;
}

std::string DumpHex(const std::string& text) {
  if (text.empty()) return "-";
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : text) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

std::vector<std::string> Dump::FieldNames() const {
  std::vector<std::string> names;
  for (const std::string& field : fields) names.push_back(field.substr(0, field.find(' ')));
  return names;
}

Dump DumpTable(const std::string& reader, const std::string& path) {
  Dump dump;
  std::istringstream lines(RunScript("dbf_dump.py", reader, path));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind, word;
    words >> kind;
    if (kind == "FIELD") {
      dump.fields.push_back(line.substr(6));
    } else if (kind == "ROW") {
      dump.rows.emplace_back();
      while (words >> word) dump.rows.back().push_back(word);
    }
  }
  return dump;
}

}  // namespace norvalde::interop
