// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <set>
#include <string>

namespace norvalde::testing {

// The names in `folder`: files, folders and links alike.
std::set<std::string> FileNames(const std::string& folder);
// The bytes of the file at `path`, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a final separator.
  const std::string& path() const { return path_; }
  // The folder's path followed by one separator, as the core's `Carpeta`.
  std::string Carpeta() const;
  // The path of `name` inside the folder.
  std::string Path(const std::string& name) const;

  // Writes `bytes` to `name` inside the folder (sub-folders must exist) and returns its path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;
  // The bytes of `name` inside the folder; fails the running test when it cannot be read.
  std::string ReadFile(const std::string& name) const;
  // Creates the sub-folder `name` and returns its path.
  std::string MakeFolder(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace norvalde::testing
