// The folders of one test: a chosen folder for ROVA files ("rova") and a work folder
// ("QTEMP") inside one fresh temporary folder, the context an action receives, a recorder of
// the messages shown, and ways to write ROVA files and read tables back. Every suite that runs
// conversions or the Import builds its folders with this.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/action.h"
#include "platform/env.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::testing {

// A line of fixed columns: each value starts at its 1-based column, blanks fill the gaps.
std::string Columns(std::initializer_list<std::pair<int, std::string>> values);

// Lines joined, each followed by CR LF.
std::string CrLfLines(const std::vector<std::string>& lines);

class TestFolders {
 public:
  TestFolders();

  // The context of an action on these folders, whose messages go to `messages`.
  ActionContext Context(platform::Env& env = platform::Env::Default());

  // The chosen folder followed by one separator, as the core's `Carpeta`.
  std::string Carpeta() const;
  const std::string& rovaFolder() const { return rovaFolder_; }
  const std::string& workFolder() const { return workFolder_; }
  // The temporary folder that holds the two.
  const std::string& root() const { return temp_.path(); }
  // A further folder `name` beside the two, created empty.
  std::string MakeFolder(const std::string& name) const { return temp_.MakeFolder(name); }

  // Writes the lines, each followed by CR LF, into the ROVA folder.
  void WriteRova(const std::string& name, const std::vector<std::string>& lines) const;
  void WriteRovaBytes(const std::string& name, const std::string& bytes) const;
  // The whole file in the ROVA folder, or "<missing>".
  std::string ReadRova(const std::string& name) const;
  // The names in the ROVA folder, sorted.
  std::vector<std::string> RovaFileNames() const;

  // The rows of a work table (name with .DBF), each field read as text, in stored order.
  std::vector<std::vector<std::string>> Rows(const std::string& table,
                                             const std::vector<std::string>& fields) const;
  std::vector<std::string> FieldNames(const std::string& table) const;

  std::string WorkFile(const std::string& name) const;  // path inside the work folder
  bool WorkFileExists(const std::string& name) const;
  void WriteWorkFile(const std::string& name, const std::string& bytes) const;
  std::string ReadWorkFile(const std::string& name) const;
  // The one number 424242 stored in the work table `name` (with .DBF) becomes "42x4?2", text
  // that no reader takes for a number.
  void SpoilNumber(const std::string& name) const;

  RecordingMessageSink messages;

 private:
  TempFolder temp_;
  std::string rovaFolder_;
  std::string workFolder_;
};

}  // namespace norvalde::testing
