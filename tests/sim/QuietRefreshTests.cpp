// The once-a-second refresh on the simulated Mac, with nothing changing: it must not read, parse
// or write either file, however often it runs, nor parse one that was touched but not changed.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "app/AppDelegate.h"
#include "platform/sim/SimMac.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;

TEST(QuietRefreshTest, RefreshesOfUnchangedFilesParseAndWriteNothing) {
  testing::TempDirectory temp;
  const SimPaths paths{.displayStateFile = temp / "state/display.plist",
                       .defaultsFile = temp / "config/defaults.plist",
                       .autostartDirectory = temp / "autostart",
                       .program = "lumora-virir"};
  testing::writeText(paths.defaultsFile,
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>"
                     "<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key>"
                     "<integer>2</integer><key>deepBlacksWarningShown</key><true/></dict>"
                     "</plist>\n");
  SimMac mac(paths);
  SharedControllers controllers(mac.platform);
  const auto delegate = AppDelegate::create(mac.platform, controllers);
  delegate->applicationDidFinishLaunching();
  mac.loop.finishPass();
  ASSERT_GT(controllers.xdr().getPresetMaxNits(), 500.0);
  ASSERT_TRUE(controllers.deepBlacks().isEnabled());

  const int displayParses = mac.displayState.file().parseCount();
  const int displayWrites = mac.displayState.file().writeCount();
  const int defaultsParses = mac.userDefaults.file().parseCount();
  const int defaultsWrites = mac.userDefaults.file().writeCount();
  const auto displayTime = fs::last_write_time(paths.displayStateFile);
  const auto defaultsTime = fs::last_write_time(paths.defaultsFile);

  for (int refresh = 0; refresh < 50; ++refresh) {
    delegate->updateMenuBarDisplay();
    delegate->rebuildMenu();
    mac.loop.runOnce(std::chrono::milliseconds(0));
  }
  EXPECT_EQ(mac.displayState.file().parseCount(), displayParses);
  EXPECT_EQ(mac.displayState.file().writeCount(), displayWrites);
  EXPECT_EQ(mac.userDefaults.file().parseCount(), defaultsParses);
  EXPECT_EQ(mac.userDefaults.file().writeCount(), defaultsWrites);
  EXPECT_EQ(fs::last_write_time(paths.displayStateFile), displayTime);
  EXPECT_EQ(fs::last_write_time(paths.defaultsFile), defaultsTime);

  // Touched from outside, the bytes the same: looked at, not parsed again.
  const auto refresh = [&] {
    delegate->updateMenuBarDisplay();
    delegate->rebuildMenu();
    mac.loop.runOnce(std::chrono::milliseconds(0));
  };
  fs::last_write_time(paths.displayStateFile, displayTime + std::chrono::seconds(2));
  fs::last_write_time(paths.defaultsFile, defaultsTime + std::chrono::seconds(2));
  refresh();
  refresh();
  EXPECT_EQ(mac.displayState.file().parseCount(), displayParses);
  EXPECT_EQ(mac.userDefaults.file().parseCount(), defaultsParses);
  EXPECT_EQ(mac.displayState.file().writeCount(), displayWrites);

  // A change of the same size is a change: it is parsed.
  std::string text = testing::readText(paths.defaultsFile);
  const std::size_t level = text.find("<integer>2</integer>");
  ASSERT_NE(level, std::string::npos);
  text[level + 9] = '3';
  testing::writeText(paths.defaultsFile, text);
  fs::last_write_time(paths.defaultsFile, defaultsTime + std::chrono::seconds(4));
  refresh();
  EXPECT_EQ(mac.userDefaults.file().parseCount(), defaultsParses + 1);
}

}  // namespace
}  // namespace lumora::sim
