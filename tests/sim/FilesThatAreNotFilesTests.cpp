// What may stand where the simulated Mac keeps a file and is not a file: a FIFO, a device, a
// folder, a socket, a link to one, or a file far too large. None is opened for long, read without
// end, moved or written over; each is said once, and the app runs on its defaults.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/FactoryDisplay.h"
#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"
#include "support/Unprivileged.h"
#include "support/WithinTime.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::TempDirectory;

// Generous for a loaded machine; a start that blocks never gets there.
constexpr auto startLimit = 10s;

// The kind and identity of what is at `path`, without following a link.
struct Identity {
  mode_t type = 0;
  dev_t device = 0;
  ino_t inode = 0;
  dev_t special = 0;
  friend bool operator==(const Identity&, const Identity&) = default;
};
Identity identityOf(const fs::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return Identity{};
  return Identity{info.st_mode & S_IFMT, info.st_dev, info.st_ino, info.st_rdev};
}

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

struct NotAFile {
  const char* what;
  // Puts it at the path; false when this machine cannot.
  std::function<bool(const fs::path&)> make;
  const char* said;  // what the line says it is
};

// A listening Unix socket, bound at the path; kept open by the test.
FileDescriptor socketAt(const fs::path& path) {
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.string().size() >= sizeof address.sun_path) return FileDescriptor();
  path.string().copy(address.sun_path, sizeof address.sun_path - 1);
  if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return FileDescriptor();
  }
  return fd;
}

TEST(FilesThatAreNotFilesTest, EachIsLeftExactlyAsItIsSaidOnceAndNeverWritten) {
  FileDescriptor socket;
  const std::vector<NotAFile> cases{
      {"a FIFO", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, "a FIFO"},
      {"a folder", [](const fs::path& p) { return fs::create_directory(p); }, "a directory"},
      {"a link to a FIFO",
       [](const fs::path& p) {
         fs::create_symlink("fifo", p);
         return ::mkfifo((p.parent_path() / "fifo").c_str(), 0644) == 0;
       },
       "a FIFO"},
      // A copy of /dev/null's node: were it replaced, the machine's own would be safe.
      {"a link to a device",
       [](const fs::path& p) {
         fs::create_symlink("null", p);
         return ::mknod((p.parent_path() / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
       },
       "a character device"},
      {"a socket",
       [&socket](const fs::path& p) {
         socket = socketAt(p);
         return socket.valid();
       },
       "a socket"},
  };
  for (const NotAFile& kind : cases) {
    SCOPED_TRACE(kind.what);
    TempDirectory temp;
    const fs::path file = temp / "display.plist";
    if (!kind.make(file)) {
      std::printf("skipped %s: this machine cannot make one\n", kind.what);
      continue;
    }
    const Identity before = identityOf(file);
    const fs::path target = fs::is_symlink(file) ? temp / fs::read_symlink(file) : file;
    const Identity targetBefore = identityOf(target);
    const std::size_t entries = entriesIn(temp.path());

    EXPECT_TRUE(testing::finishesWithin(startLimit, [&] {
      testing::FakeConsole console;
      SimDisplayState state(file, console);
      const platform::DisplayID display = state.mainDisplayID();
      const bool factory = display == static_cast<platform::DisplayID>(factoryMainDisplayID) &&
                           state.activePresetIndex(display) == 0;
      const bool refused = state.setActivePresetIndex(display, 1) != SimDisplayState::success;
      state.flush();
      const bool saidOnce = console.errors.size() == 1 &&
                            console.errors[0].find(file.string()) != std::string::npos &&
                            console.errors[0].find(kind.said) != std::string::npos;
      if (!saidOnce) {
        for (const std::string& line : console.errors)
          std::printf("said: %s\n", line.c_str());
      }
      return factory && refused && saidOnce;
    }));
    EXPECT_EQ(identityOf(file), before);
    EXPECT_EQ(identityOf(target), targetBefore);
    EXPECT_EQ(entriesIn(temp.path()), entries) << "nothing kept aside, nothing written";
  }
}

TEST(FilesThatAreNotFilesTest, AFileBeyondTheLimitIsLeftUnreadAndAnEndlessOneIsNeverRead) {
  for (const bool endless : {false, true}) {
    SCOPED_TRACE(endless ? "a link to /dev/zero" : "a sparse file of 65 MB");
    TempDirectory temp;
    const fs::path file = temp / "defaults.plist";
    if (endless) {
      fs::create_symlink("/dev/zero", file);
    } else {
      std::ofstream(file).close();
      fs::resize_file(file, maximumPlistFileBytes + (1u << 20));
    }
    const Identity before = identityOf(file);
    EXPECT_TRUE(testing::finishesWithin(startLimit, [&] {
      testing::FakeConsole console;
      SimUserDefaults defaults(file, console);
      defaults.setBool("simpleIcon", true);
      return !defaults.boolForKey("simpleIcon") && console.errors.size() == 1 &&
             console.errors[0].find(endless ? "a character device" : "larger than 64 MB") !=
                 std::string::npos;
    }));
    EXPECT_EQ(identityOf(file), before);
    EXPECT_EQ(entriesIn(temp.path()), 1u);
  }
}

TEST(FilesThatAreNotFilesTest, AFileThatTakesTheirPlaceIsReadAsUsual) {
  TempDirectory temp;
  const fs::path file = temp / "defaults.plist";
  ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
  testing::FakeConsole console;
  SimUserDefaults defaults(file, console);
  EXPECT_FALSE(defaults.boolForKey("simpleIcon"));
  EXPECT_FALSE(defaults.boolForKey("simpleIcon"));
  EXPECT_EQ(console.errors.size(), 1u);

  fs::remove(file);
  testing::writeText(file,
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>simpleIcon</key><true/></dict></plist>\n");
  EXPECT_TRUE(defaults.boolForKey("simpleIcon"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_NE(testing::readText(file).find("autoEnableXDR"), std::string::npos);
  EXPECT_EQ(console.errors.size(), 1u);
}

}  // namespace
}  // namespace lumora::sim
