// The drive list and the process's current directory, on the real system.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/current_folder.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

// Each drive listed once, in order; off Windows the root first, its text "/ [label]".
TEST(Drives, EachListedDriveIsTheDriveOfItsOwnRoot) {
  const std::vector<Drive> drives = AvailableDrives();
  ASSERT_FALSE(drives.empty());
  for (size_t i = 0; i < drives.size(); ++i) {
    EXPECT_EQ(drives[i].text.rfind(drives[i].root, 0), 0u) << drives[i].text;
    EXPECT_EQ(DriveOf(drives[i].root + kPathSeparator), drives[i].root) << drives[i].text;
    if (i > 0) {
      EXPECT_LT(drives[i - 1].root, drives[i].root);
    }
  }
#ifndef _WIN32
  EXPECT_EQ(drives.front().root, "/");
  EXPECT_EQ(drives.front().text.rfind("/ [", 0), 0u) << drives.front().text;
#endif
}

TEST(Drives, AFolderLiesOnAListedDriveAndAMissingOneOnNone) {
  testing::TempFolder folder;
  const std::string drive = DriveOf(folder.MakeFolder("sub"));
  bool listed = false;
  for (const Drive& entry : AvailableDrives()) listed = listed || entry.root == drive;
  EXPECT_TRUE(listed) << drive;
#ifndef _WIN32
  EXPECT_EQ(DriveOf(folder.Path("missing")), "");
#endif
}

TEST(CurrentFolder, FollowsTheFolderOpenedAndRefusesAMissingOne) {
  const std::string start = CurrentFolder();
  testing::TempFolder folder;
  // A space in the name; the test folder helper spells names in the system's narrow code
  // page on Windows, so the name keeps to ASCII.
  const std::string sub = folder.MakeFolder("Sub folder");
  ASSERT_EQ(ChangeCurrentFolder(sub), 0);
  // The temporary folder's path may itself pass through a link; the last step is ours.
  const std::string now = CurrentFolder();
  EXPECT_EQ(now.substr(now.size() - 10), "Sub folder");
  EXPECT_NE(ChangeCurrentFolder(folder.Path("missing")), 0);
  EXPECT_EQ(CurrentFolder(), now);
  ASSERT_EQ(ChangeCurrentFolder(start), 0);
}

// The folders the folder list shows: no files, no hidden folders; a name that is no UTF-8
// (possible off Windows) comes back byte for byte.
TEST(CurrentFolder, ListsTheSubfoldersThatAreShown) {
  testing::TempFolder folder;
  folder.MakeFolder("Envio");
  folder.MakeFolder("datos 2024");
  folder.WriteFile("rova_prof.txt", "");
  std::set<std::string> expected = {"Envio", "datos 2024"};
#ifdef _WIN32
  const std::string hidden = folder.MakeFolder("Oculta");
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
  folder.MakeFolder(".oculta");
  folder.MakeFolder("A\xF1" "o");
  ASSERT_EQ(::symlink(folder.Path("Envio").c_str(), folder.Path("enlace").c_str()), 0);
  expected.insert({"A\xF1" "o", "enlace"});
#endif
  const std::vector<std::string> listed = ListSubfolders(folder.path());
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected);
  EXPECT_EQ(listed.size(), expected.size());
  EXPECT_TRUE(ListSubfolders(folder.Path("missing")).empty());
}

}  // namespace
}  // namespace norvalde::platform
