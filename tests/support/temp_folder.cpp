#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/paths.h"

namespace norvalde::testing {

namespace fs = std::filesystem;

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TempFolder::TempFolder() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("norvalde-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A test may have left read-only entries; give them back before removing.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

std::string TempFolder::Carpeta() const { return path_ + platform::kPathSeparator; }

std::string TempFolder::Path(const std::string& name) const {
  return platform::JoinPath(path_, name);
}

std::string TempFolder::WriteFile(const std::string& name, const std::string& bytes) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
  return path;
}

std::string TempFolder::ReadFile(const std::string& name) const {
  const std::string bytes = ReadBytes(Path(name));
  EXPECT_NE(bytes, "<missing>") << "cannot read " << Path(name);
  return bytes;
}

std::string TempFolder::MakeFolder(const std::string& name) const {
  const std::string path = Path(name);
  fs::create_directories(path);
  return path;
}

}  // namespace norvalde::testing
