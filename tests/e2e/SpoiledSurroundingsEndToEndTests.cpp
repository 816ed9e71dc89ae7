// The built program among things a careless or hostile user leaves around it: state files that
// are FIFOs, devices or endless, a lock that is a folder, folders replaced while it runs, a reader
// of its output that goes away, and valid files in forms it once refused. It never hangs, never
// destroys what is there, never lets a second copy in, and always leaves the display standard.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "e2e/RunningApp.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* header =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
const std::string standardPreset = "<key>ActivePresetIndex</key>\n\t\t\t<integer>0<";
const std::string raisedPreset = "<key>ActivePresetIndex</key>\n\t\t\t<integer>11<";

// The largest the process's resident memory has been, in MB (Linux's VmHWM).
long peakMegabytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6)) / 1024;
  }
  return -1;
}

long millisecondsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class SpoiledSurroundingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(stateFolder());
    fs::create_directories(configFolder());
  }
  fs::path stateFolder() const { return home_ / "state/lumora-virir"; }
  fs::path configFolder() const { return home_ / "config/lumora-virir"; }
  fs::path displayPath() const { return stateFolder() / "display.plist"; }
  fs::path defaultsPath() const { return configFolder() / "defaults.plist"; }
  std::size_t entriesIn(const fs::path& folder) const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
  void raiseAtLaunch() const {
    writeText(defaultsPath(), std::string(header) +
                                  "<dict><key>autoEnableXDR</key><true/><key>lastNitsValue</key>"
                                  "<real>1250</real></dict></plist>\n");
  }

  TempDirectory home_;
};

TEST_F(SpoiledSurroundingsTest, FIFOsInPlaceOfBothFilesNeitherHoldTheStartNorStopSIGTERM) {
  ASSERT_EQ(::mkfifo(displayPath().c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo(defaultsPath().c_str(), 0644), 0);
  RunningApp app(home_.path());
  // Without waiting for the start: a start blocked in open() would never hear the signal.
  std::this_thread::sleep_for(200ms);
  const Clock::time_point sent = Clock::now();
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0) << app.errorOutput();
  // A second is the promise; the margin is for a loaded machine, and a hang never ends at all.
  EXPECT_LT(millisecondsSince(sent), 5000);
  std::printf("SIGTERM answered in %ld ms\n", millisecondsSince(sent));
  EXPECT_TRUE(fs::is_fifo(displayPath()));
  EXPECT_TRUE(fs::is_fifo(defaultsPath()));
  EXPECT_NE(app.errorOutput().find("display.plist is a FIFO"), std::string::npos);
}

TEST_F(SpoiledSurroundingsTest, ALinkToADeviceLeavesTheDeviceAsItIs) {
  // A copy of /dev/null's node in the scratch folder, never the machine's own.
  const fs::path node = home_ / "null";
  if (::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  fs::create_symlink(node, displayPath());
  RunningApp app(home_.path());
  app.send("pick 1250");
  ASSERT_TRUE(app.waitForLine("picked:")) << app.errorOutput();
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);

  struct stat info {};
  ASSERT_EQ(::lstat(node.c_str(), &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode)) << "still a device";
  EXPECT_EQ(info.st_rdev, ::makedev(1, 3));
  EXPECT_TRUE(fs::is_symlink(displayPath()));
  EXPECT_EQ(entriesIn(stateFolder()), 3u)
      << "the link, instance.lock and run/ (the socket's), nothing kept aside";
  EXPECT_NE(app.errorOutput().find("is a character device"), std::string::npos);
}

TEST_F(SpoiledSurroundingsTest, EndlessFilesAreRefusedAtOnceWithLittleMemory) {
  fs::create_symlink("/dev/zero", displayPath());
  fs::create_symlink("/dev/urandom", defaultsPath());
  const Clock::time_point start = Clock::now();
  RunningApp app(home_.path());
  app.send("status");
  ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  const long started = millisecondsSince(start);
  const long peak = peakMegabytes(app.pid());
  std::printf("running in %ld ms, at most %ld MB resident\n", started, peak);
  EXPECT_LT(started, 5000);
  EXPECT_GT(peak, 0);
  EXPECT_LT(peak, 100);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_TRUE(fs::is_symlink(displayPath()));
  EXPECT_TRUE(fs::is_symlink(defaultsPath()));
}

TEST_F(SpoiledSurroundingsTest, ALockThatIsAFolderStillKeepsASecondCopyOut) {
  fs::create_directory(stateFolder() / "instance.lock");
  fs::create_directory(configFolder() / "instance.lock");
  RunningApp first(home_.path());
  first.send("status");
  ASSERT_TRUE(first.waitForLine("status:")) << first.errorOutput();
  EXPECT_NE(first.errorOutput().find("the folder itself is locked instead"), std::string::npos);

  std::string why;
  EXPECT_TRUE(secondStartIsRefused(home_.path(), std::nullopt, why)) << why;
  EXPECT_EQ(first.signalAndWait(SIGTERM), 0);
}

TEST_F(SpoiledSurroundingsTest, FoldersReplacedUnderARunningCopyStillKeepASecondOneOut) {
  RunningApp first(home_.path());
  first.send("pick 1250");
  ASSERT_TRUE(first.waitForLine("preset 11")) << first.errorOutput();
  fs::rename(stateFolder(), home_ / "state/moved-away");
  fs::rename(configFolder(), home_ / "config/moved-away");
  fs::create_directories(stateFolder());
  fs::create_directories(configFolder());
  first.send("pick 1600");
  first.send("status");
  ASSERT_TRUE(first.waitForLine("status:")) << first.errorOutput();
  EXPECT_NE(first.errorOutput().find("was moved or replaced"), std::string::npos);
  EXPECT_FALSE(fs::exists(displayPath())) << "nothing saved in the new folder";

  std::string why;
  EXPECT_TRUE(secondStartIsRefused(home_.path(), first.pid(), why)) << why;
  EXPECT_EQ(first.signalAndWait(SIGTERM), 0);
}

TEST_F(SpoiledSurroundingsTest, AReaderThatGoesAwayLeavesTheAppRunningAndSIGTERMStillRestores) {
  raiseAtLaunch();
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  ASSERT_NE(readText(displayPath()).find(raisedPreset), std::string::npos);
  app.closeOutput();  // as head -1 does; standard input stays open
  for (int i = 0; i < 20; ++i)
    app.send(i % 2 == 0 ? "menu" : "status");
  EXPECT_EQ(app.waitForExit(1500ms), -1) << "still running";
  EXPECT_NE(readText(displayPath()).find(raisedPreset), std::string::npos);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(readText(displayPath()).find(standardPreset), std::string::npos);
  EXPECT_EQ(app.errorOutput(), "") << "quietly";
}

TEST_F(SpoiledSurroundingsTest, FilesWithAByteOrderMarkOrCDATAAreUsedAndKept) {
  writeText(defaultsPath(), "\xEF\xBB\xBF" + std::string(header) +
                                "<dict><key>simpleIcon</key><true/><key><![CDATA[note]]></key>"
                                "<string><![CDATA[<mine> & yours]]></string></dict></plist>\n");
  RunningApp app(home_.path());
  app.send("status");
  ASSERT_TRUE(app.waitForLine("status: \"\u25CB\"")) << "the plain icon: " << app.errorOutput();
  app.send("pick Auto-enable");
  ASSERT_TRUE(app.waitForLine("picked:"));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(app.errorOutput(), "");
  EXPECT_EQ(entriesIn(configFolder()), 2u) << "nothing kept aside";
  const std::string saved = readText(defaultsPath());
  EXPECT_NE(saved.find("&lt;mine&gt; &amp; yours"), std::string::npos) << saved;
  EXPECT_NE(saved.find("autoEnableXDR"), std::string::npos) << saved;
}

}  // namespace
}  // namespace lumora::testing
