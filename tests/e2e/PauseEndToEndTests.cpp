// The built program stepping XDR aside on the simulated Mac's battery and heat, and bringing it
// back by itself.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

class PauseEndToEndTest : public SimulatedMacTest {
 protected:
  // The menu's first line, its header.
  std::string header(RunningApp& app) {
    const std::string lines = menu(app);
    return lines.substr(0, lines.find('\n'));
  }
  bool headerSays(RunningApp& app, const std::string& text) {
    for (int attempt = 0; attempt < 25; ++attempt) {
      if (header(app).find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }
};

TEST_F(PauseEndToEndTest, UnpluggingPausesWhenChosenAndPluggingInBringsTheLevelBack) {
  storeDefaults(
      "<key>pauseOnBattery</key><true/><key>deepBlacksEnabled</key><true/>"
      "<key>deepBlacksLevel</key><integer>2</integer><key>deepBlacksWarningShown</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1250");
  ASSERT_TRUE(statusSays(app, "preset 11"));

  app.send("power battery 80");
  ASSERT_TRUE(app.waitForLine("power: battery 80"));
  EXPECT_TRUE(statusSays(app, "preset 0 ")) << "the standard preset, the usual way";
  EXPECT_TRUE(headerSays(app, "\u23F8 XDR Paused (On Battery)"));
  // A change of power is no display change: the Deep Blacks table stays as it was.
  EXPECT_EQ(table(std::to_string(sim::factoryMainDisplayID)), "table");
  EXPECT_TRUE(statusSays(app, "gamma: table"));
  app.send("power ac");
  EXPECT_TRUE(statusSays(app, "preset 11 \"Lumora XDR (1250 nits)\""));
  EXPECT_TRUE(headerSays(app, "XDR + Deep Blacks (Medium)")) << "no longer paused";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(PauseEndToEndTest, ALowBatteryPausesUntilItClimbsToTwentyFivePercent) {
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1000");
  ASSERT_TRUE(statusSays(app, "preset 11"));
  app.send("power battery 19");
  EXPECT_TRUE(headerSays(app, "\u23F8 XDR Paused (Battery Low)"));
  app.send("power battery 24");
  ASSERT_TRUE(app.waitForLine("power: battery 24"));
  EXPECT_TRUE(headerSays(app, "XDR Paused")) << "still paused below 25 %";
  app.send("power battery 25");
  EXPECT_TRUE(statusSays(app, "preset 11 \"Lumora XDR (1000 nits)\""));

  // Paused again, then ended by a signal: the standard preset, status 0.
  app.send("power battery 5");
  ASSERT_TRUE(headerSays(app, "XDR Paused"));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(readText(displayPath()).find("<key>ActivePresetIndex</key>\n\t\t\t<integer>0<"),
            std::string::npos);
}

TEST_F(PauseEndToEndTest, HeatPausesUntilTheMacHasBeenCalmForTheWholeWhile) {
  // A shorter calm than the minute a Mac needs, through the hidden default.
  storeDefaults("<key>thermalCalmSeconds</key><real>1.5</real>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1600");
  ASSERT_TRUE(statusSays(app, "preset 11"));
  app.send("thermal serious");
  EXPECT_TRUE(headerSays(app, "\u23F8 XDR Paused (Mac Is Hot)"));
  app.send("thermal nominal");
  ASSERT_TRUE(app.waitForLine("thermal: nominal"));
  EXPECT_TRUE(headerSays(app, "XDR Paused")) << "not calm for long enough yet";
  EXPECT_TRUE(statusSays(app, "preset 11 \"Lumora XDR (1600 nits)\"")) << "then back";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(readText(home_ / "config/lumora-virir/defaults.plist").find("pauseWhenHot"),
            std::string::npos)
      << "nothing stored but what the user chose";
}

}  // namespace
}  // namespace lumora::testing
