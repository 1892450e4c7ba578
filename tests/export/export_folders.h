// A chosen folder for ROVA files and a work folder, both inside one temporary folder, with the
// context that the conversions receive, and ways to write ROVA files and read tables back.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "export/export.h"
#include "platform/env.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::testing {

// A line of fixed columns: each value starts at its 1-based column, blanks fill the gaps.
std::string Columns(std::initializer_list<std::pair<int, std::string>> values);

class ExportFolders {
 public:
  ExportFolders();

  exporting::ExportContext Context(platform::Env& env = platform::Env::Default());

  // Writes the lines, each followed by CR LF, into the ROVA folder.
  void WriteRova(const std::string& name, const std::vector<std::string>& lines) const;
  void WriteRovaBytes(const std::string& name, const std::string& bytes) const;

  // The rows of a work table (name with .DBF), each field read as text, in stored order.
  std::vector<std::vector<std::string>> Rows(const std::string& table,
                                             const std::vector<std::string>& fields) const;
  std::vector<std::string> FieldNames(const std::string& table) const;

  std::string WorkFile(const std::string& name) const;  // path inside the work folder
  bool WorkFileExists(const std::string& name) const;
  void WriteWorkFile(const std::string& name, const std::string& bytes) const;
  std::string ReadWorkFile(const std::string& name) const;

  const std::string& rovaFolder() const { return rovaFolder_; }
  const std::string& workFolder() const { return workFolder_; }
  RecordingMessageSink messages;

 private:
  TempFolder temp_;
  std::string rovaFolder_;
  std::string workFolder_;
};

}  // namespace norvalde::testing
