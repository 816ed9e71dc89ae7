// The built program when it is stopped in the middle of its work or started twice: the files it
// shares with people stay whole, and no second copy touches them.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "e2e/RunningApp.h"
#include "platform/sim/machine/PlistText.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

namespace fs = std::filesystem;

class HardeningEndToEndTest : public ::testing::Test {
 protected:
  fs::path displayPath() const { return home_ / "state/lumora-virir/display.plist"; }
  fs::path defaultsPath() const { return home_ / "config/lumora-virir/defaults.plist"; }
  // The start line comes once the launch is over.
  void waitForLaunch(RunningApp& app) {
    ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  }
  // The temporary files of saves, in both folders.
  std::vector<std::string> temporaryFiles() const {
    std::vector<std::string> found;
    for (const fs::path& folder : {displayPath().parent_path(), defaultsPath().parent_path()}) {
      std::error_code ignored;
      for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".display.plist.") || name.starts_with(".defaults.plist.")) {
          found.push_back(name);
        }
      }
    }
    return found;
  }

  TempDirectory home_;
};

TEST_F(HardeningEndToEndTest, ASecondInstanceSaysSoAndLeavesEverythingAlone) {
  RunningApp first(home_.path());
  waitForLaunch(first);
  first.send("pick 250% \u2013 1250 nits");
  first.send("pick Basicify Icon");
  // The status line of the plain icon, printed once both picks are stored.
  ASSERT_TRUE(first.waitForLine("\u25CF")) << first.errorOutput();
  const std::string display = readText(displayPath());
  const std::string defaults = readText(defaultsPath());

  std::string why;
  EXPECT_TRUE(secondStartIsRefused(home_.path(), first.pid(), why)) << why;
  EXPECT_EQ(readText(displayPath()), display);
  EXPECT_EQ(readText(defaultsPath()), defaults);

  EXPECT_EQ(first.signalAndWait(SIGTERM), 0);
  RunningApp later(home_.path());  // the folders are free again
  waitForLaunch(later);
  EXPECT_EQ(later.signalAndWait(SIGTERM), 0);
}

TEST_F(HardeningEndToEndTest, ASignalInTheMiddleOfSavesLeavesWholeFilesAndNoTemporaryOnes) {
  const char* const picks[] = {"pick 250% \u2013 1250 nits", "pick Basicify Icon",
                               "pick 320% \u2013 1600 nits (MAX)", "pick Auto-enable on Launch"};
  for (int round = 0; round < 8; ++round) {
    RunningApp app(home_.path());
    waitForLaunch(app);
    for (int i = 0; i < 24; ++i)
      app.send(picks[i % 4]);
    std::this_thread::sleep_for(std::chrono::milliseconds(5 * round));
    EXPECT_EQ(app.signalAndWait(round % 2 == 0 ? SIGTERM : SIGINT), 0) << round;
    EXPECT_TRUE(temporaryFiles().empty()) << round;
    EXPECT_EQ(sim::whyNotReadWhole(readText(displayPath())), std::nullopt) << round;
    EXPECT_NE(readText(displayPath()).find("<key>ActivePresetIndex</key>\n\t\t\t<integer>0<"),
              std::string::npos)
        << round;
  }
}

TEST_F(HardeningEndToEndTest, AStartRemovesWhatAKilledWriterLeft) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  int status = 0;
  ::waitpid(gone, &status, 0);
  const std::string leftover = ".display.plist." + std::to_string(gone) + "-99.x1y2z3";
  writeText(displayPath().parent_path() / leftover, "<?xml version=\"1.0\"?><plist><dic");
  RunningApp app(home_.path());
  waitForLaunch(app);
  EXPECT_TRUE(temporaryFiles().empty());
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

}  // namespace
}  // namespace lumora::testing
