// One app per folder of state: the lock holds however its file is spoiled, and a folder replaced
// under a running app is noticed, locked too, and no longer saved to. (Two processes meet end to
// end.)

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/FolderClaims.h"
#include "platform/sim/machine/InstanceLock.h"
#include "support/TempDirectory.h"
#include "support/Unprivileged.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

// Locks taken by one process on separate opens conflict as those of two processes do.
struct SpoiledLockFile {
  const char* what;
  std::function<void(const fs::path&)> make;
  const char* said;
};

TEST(InstanceLockTest, ALockFileThatCannotBeUsedLeavesTheFolderLockedInstead) {
  for (const SpoiledLockFile& spoiled : std::vector<SpoiledLockFile>{
           {"a directory", [](const fs::path& p) { fs::create_directory(p); }, "a directory"},
           {"a dangling link", [](const fs::path& p) { fs::create_symlink("gone/nowhere", p); },
            "a symbolic link"},
           {"a FIFO", [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); }, "a FIFO"},
       }) {
    SCOPED_TRACE(spoiled.what);
    TempDirectory temp;
    spoiled.make(temp / "instance.lock");
    InstanceLock::Attempt first = InstanceLock::acquire(temp.path(), true);
    ASSERT_TRUE(first.lock) << "the first start always runs";
    EXPECT_FALSE(first.lock->holdsFile());
    EXPECT_NE(first.note.find(spoiled.said), std::string::npos) << first.note;
    EXPECT_NE(first.note.find("the folder itself is locked"), std::string::npos) << first.note;
    EXPECT_FALSE(InstanceLock::acquire(temp.path(), true).lock) << "a second start is refused";
    EXPECT_FALSE(fs::exists(temp / "gone")) << "a link is never followed";
  }
}

TEST(InstanceLockTest, AnotherUsersClosedLockFileLeavesTheFolderLockedInstead) {
  TempDirectory temp;
  testing::writeText(temp / "instance.lock", "1\n");
  ::chmod((temp / "instance.lock").c_str(), 0000);
  // As root, the file becomes root's and the test nobody's; otherwise it stays this user's,
  // whose mode 0000 refuses it just the same.
  EXPECT_TRUE(testing::asOrdinaryUser(
      temp.path(),
      [&temp] {
        InstanceLock::Attempt first = InstanceLock::acquire(temp.path(), true);
        return first.lock && !first.lock->holdsFile() &&
               first.note.find("Permission denied") != std::string::npos &&
               !InstanceLock::acquire(temp.path(), true).lock;
      },
      temp / "instance.lock"));
}

// The same as a person would do it: the folder renamed away and made again, while the app runs.
TEST(FolderClaimsTest, AReplacedFolderIsSaidOnceLockedTooAndNoLongerSavedTo) {
  TempDirectory temp;
  const fs::path folder = temp / "config";
  const fs::path file = folder / "defaults.plist";
  ASSERT_FALSE(FolderClaims::process().claim(folder).refused);
  testing::FakeConsole console;
  SimUserDefaults defaults(file, console);
  defaults.setBool("simpleIcon", true);
  ASSERT_TRUE(fs::exists(file));

  fs::rename(folder, temp / "config.old");
  EXPECT_TRUE(defaults.boolForKey("simpleIcon")) << "what the app holds stays";
  ASSERT_EQ(console.errors.size(), 1u);
  EXPECT_NE(console.errors[0].find(folder.string() + " was moved or replaced"), std::string::npos)
      << console.errors[0];
  defaults.setBool("autoEnableXDR", true);
  EXPECT_FALSE(fs::exists(folder)) << "a folder that is gone is not made again";

  fs::create_directories(folder);
  EXPECT_TRUE(defaults.boolForKey("simpleIcon"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_FALSE(defaults.boolForKey("autoEnableXDR")) << "a change that cannot be saved";
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(console.errors.size(), 1u) << "said once";
  EXPECT_FALSE(InstanceLock::acquire(folder, true).lock) << "no second app starts there";
  EXPECT_FALSE(InstanceLock::acquire(temp / "config.old", true).lock) << "nor in the old one";
}

}  // namespace
}  // namespace lumora::sim
