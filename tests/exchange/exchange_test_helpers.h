// What the exchange suites check beside a file's content: the names a folder holds, the message
// an action fails with, and the text of a failed creation.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "core/error.h"
#include "platform/system_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange::testing {

inline std::set<std::string> FileNames(const norvalde::testing::TempFolder& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    names.insert(entry.path().filename().string());
  return names;
}

// The message of the error the action raised, or "<no error>".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "<no error>";
}

inline std::string CannotCreate(const std::string& path, int error) {
  return "Cannot create file \"" + path + "\". " + platform::SystemErrorText(error);
}

}  // namespace norvalde::exchange::testing
