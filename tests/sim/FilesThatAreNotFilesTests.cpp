// What may stand where the simulated Mac keeps a file and is not a regular file of a size it
// reads: each is left exactly as it is, said once, and never written, and the app runs on its
// defaults. (FIFOs, devices and endless files are run end to end, where a start that blocks shows.)

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/FileDescriptor.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

constexpr const char* mine =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
    "<key>simpleIcon</key><true/></dict></plist>\n";

// A Unix socket bound at the path, open while the test runs.
FileDescriptor socketAt(const fs::path& path) {
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.string().copy(address.sun_path, sizeof address.sun_path - 1);
  const bool bound =
      ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  return bound ? std::move(fd) : FileDescriptor();
}

struct NotAFile {
  const char* what;
  std::function<void(const fs::path&)> make;
  const char* said;
};

TEST(FilesThatAreNotFilesTest, EachIsLeftAsItIsSaidOnceAndNeverWritten) {
  FileDescriptor socket;
  for (const NotAFile& kind : std::vector<NotAFile>{
           {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "is a directory"},
           {"a socket", [&socket](const fs::path& p) { socket = socketAt(p); }, "is a socket"},
           {"a sparse file of 65 MB",
            [](const fs::path& p) {
              std::ofstream(p).close();
              fs::resize_file(p, maximumPlistFileBytes + (1u << 20));
            },
            "is larger than 64 MB"},
       }) {
    SCOPED_TRACE(kind.what);
    TempDirectory temp;
    const fs::path file = temp / "defaults.plist";
    kind.make(file);
    const auto type = fs::symlink_status(file).type();
    testing::FakeConsole console;
    SimUserDefaults defaults(file, console);
    defaults.setBool("simpleIcon", true);
    defaults.setBool("autoEnableXDR", true);
    EXPECT_FALSE(defaults.boolForKey("simpleIcon")) << "a change that cannot be saved";
    ASSERT_EQ(console.errors.size(), 1u);
    EXPECT_NE(console.errors[0].find(file.string() + " " + kind.said), std::string::npos)
        << console.errors[0];
    EXPECT_EQ(fs::symlink_status(file).type(), type);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1)
        << "nothing kept aside, nothing written beside it";
  }
}

TEST(FilesThatAreNotFilesTest, AFileThatTakesTheirPlaceIsReadAsUsual) {
  TempDirectory temp;
  const fs::path file = temp / "defaults.plist";
  fs::create_directory(file);
  testing::FakeConsole console;
  SimUserDefaults defaults(file, console);
  EXPECT_FALSE(defaults.boolForKey("simpleIcon"));

  fs::remove(file);
  testing::writeText(file, mine);
  EXPECT_TRUE(defaults.boolForKey("simpleIcon"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_NE(testing::readText(file).find("autoEnableXDR"), std::string::npos);
  EXPECT_EQ(console.errors.size(), 1u);
}

}  // namespace
}  // namespace lumora::sim
