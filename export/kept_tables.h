// What an Export run keeps of the tables it replaces, so that the user can bring an Export
// back: each old file is moved (renamed, never copied) into the run's own folder,
// <work folder>/Copias de Norvalde/<AAAA-MM-DD hh.mm.ss>/, before its table is created anew.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"

namespace norvalde::exporting {

// The folder inside the work folder that holds one folder per Export run.
inline constexpr char kKeepingFolderName[] = "Copias de Norvalde";

class KeptTables {
 public:
  // Reads the clock: the run folder is named by this moment, the run's start.
  KeptTables(platform::Env& env, std::string workFolder);

  platform::Env& env() const { return env_; }
  const std::string& workFolder() const { return workFolder_; }

  // Moves the files <table>.DBF and then <table>.MDX of the work folder (found ignoring ASCII
  // case; a folder under such a name stays where it is) into the run folder, which the first
  // move of the run makes. Throws norvalde::Error, before anything of the table is moved, when
  // one of them is held by another program (the engine's table-in-use error) or the work
  // folder cannot be listed, and when the run folder cannot be made or a file cannot be moved.
  void Keep(const std::string& table);

  // Once the run's tables are complete: makes the moves durable by syncing the run folder and
  // the keeping folder (when anything was moved; a failure throws norvalde::Error), then
  // removes the oldest run folders beyond the ten newest, which never fails.
  void Finish();

 private:
  std::vector<std::string> FilesOf(const std::string& table);
  void MakeRunFolder();

  platform::Env& env_;
  std::string workFolder_;
  std::string keepingFolder_;
  platform::LocalTime start_;
  std::string runFolder_;  // empty until the first move made it
};

// Makes the names in `folder` (files created, moved or deleted there) durable. Throws
// norvalde::Error naming the folder and the cause.
void SyncFolderNames(platform::Env& env, const std::string& folder);

}  // namespace norvalde::exporting
