// The built program keeping the simulated panel's boost while the Mac takes the headroom away as
// macOS does: a Space change, the lock screen, a wake that refuses headroom for a while, and a
// release that ignores boosted tables. The display is never asked for more than it shows.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <thread>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;

class HeadroomKeepingEndToEndTest : public SimulatedMacTest {
 protected:
  // The factory panel on 26.4 with `extra` keys, at 1250 nits from the launch.
  void storeRaisedPanel(const std::string& extra) const {
    storeDefaults("<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>");
    storeDisplay(extra);
    changeValue("SystemVersion", "<string>26.4</string>");
  }
  // Asks for the status until it says `text`, for at most `limit`.
  bool statusSaysWithin(RunningApp& app, const std::string& text, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      app.send("status");
      if (app.waitForLine("status: ").value_or("").find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(200ms);
    }
    return false;
  }
  // Every line the app printed that tells of a table above the headroom.
  static std::string overExposed(const RunningApp& app) {
    std::string found;
    for (const std::string& line : app.outputLines()) {
      if (line.find("over-exposed") != std::string::npos) found += line + "\n";
    }
    return found;
  }
  std::string edrWindow(RunningApp& app) {
    app.send("windows");
    return app.waitForLine("window edr: ").value_or("(no EDR window)");
  }
};

TEST_F(HeadroomKeepingEndToEndTest, ASpaceChangeThatDropsTheHeadroomNeverLeavesTheTableAboveIt) {
  storeRaisedPanel("<key>DropsEDROnSpaceChange</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 5s)) << app.errorOutput();
  const std::string shown = edrWindow(app);
  EXPECT_NE(shown.find("out of screen capture"), std::string::npos) << shown;
  EXPECT_NE(shown.find("drawn 1 time,"), std::string::npos) << shown;

  // Idle, nothing draws it again.
  std::this_thread::sleep_for(10s);
  EXPECT_NE(edrWindow(app).find("drawn 1 time,"), std::string::npos) << "no periodic redraw";

  app.send("space");
  ASSERT_TRUE(app.waitForLine("space: changed"));
  EXPECT_TRUE(app.waitForLine("gives 500 nits, headroom 1 |")) << "down within the change";
  ASSERT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 5s));
  EXPECT_NE(edrWindow(app).find("drawn 2 times,"), std::string::npos) << "drawn once for it";
  EXPECT_EQ(overExposed(app), "");
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(HeadroomKeepingEndToEndTest, TheLockScreenIsAQuietGapAndUnlockingBringsTheBoostBack) {
  storeRaisedPanel("");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 5s)) << app.errorOutput();
  app.send("lock");
  ASSERT_TRUE(app.waitForLine("lock: locked"));
  EXPECT_TRUE(statusSaysWithin(app, "gamma: calibrated, gives 500 nits, headroom 1", 2s));
  std::this_thread::sleep_for(5s);
  app.send("unlock");
  ASSERT_TRUE(app.waitForLine("unlock: unlocked"));
  EXPECT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 8s));
  const std::vector<std::string>& lines = app.linesAfter(200ms);
  for (const std::string& line : lines)
    EXPECT_FALSE(line.starts_with("alert:")) << line;
  EXPECT_EQ(overExposed(app), "");
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(HeadroomKeepingEndToEndTest, AWakeThatRefusesHeadroomForAWhileEndsAt1250) {
  // Longer than the settling: the first request after the wake gets nothing.
  storeRaisedPanel("<key>EDRRefusedAfterWakeSeconds</key><real>3.5</real>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 5s)) << app.errorOutput();
  app.send("sleep");
  ASSERT_TRUE(app.waitForLine("sleep: asleep"));
  app.send("wake");
  ASSERT_TRUE(app.waitForLine("wake: awake"));
  EXPECT_TRUE(statusSaysWithin(app, "gives 1250 nits, headroom 3.2", 20s));
  EXPECT_EQ(overExposed(app), "");
  for (const std::string& line : app.outputLines())
    EXPECT_FALSE(line.starts_with("alert:")) << line;
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(HeadroomKeepingEndToEndTest, AReleaseThatIgnoresBoostedTablesSaysSoOnce) {
  storeDefaults("<key>deepBlacksWarningShown</key><true/>");
  storeDisplay("<key>IgnoresBoostedTables</key><true/>");
  changeValue("SystemVersion", "<string>26.4</string>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSaysWithin(app, "preset 0", 5s)) << app.errorOutput();
  app.send("pick 1250");
  EXPECT_TRUE(app.waitForLine("alert: XDR Brightness Unavailable"));
  app.send("answer");
  EXPECT_TRUE(app.waitForLine("answered: OK"));
  EXPECT_TRUE(statusSaysWithin(app, "gamma: calibrated, gives 500 nits", 2s));
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("windows: none"));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(app.errorOutput().find("did not apply it"), std::string::npos) << app.errorOutput();
  EXPECT_EQ(app.errorOutput().find("another app"), std::string::npos);
}

}  // namespace
}  // namespace lumora::testing
