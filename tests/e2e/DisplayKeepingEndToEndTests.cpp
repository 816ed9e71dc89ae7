// The built program while the simulated Mac sleeps, wakes, changes its displays or refuses
// presets: the display comes back to what the user chose.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

constexpr const char* raisedWithMediumBlacks =
    "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>"
    "<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key><integer>2</integer>"
    "<key>deepBlacksWarningShown</key><true/>";

class DisplayKeepingEndToEndTest : public SimulatedMacTest {};

TEST_F(DisplayKeepingEndToEndTest, AWakeThatDropsThePresetBringsBackTheLevelAndTheTable) {
  storeDefaults(raisedWithMediumBlacks);
  storeDisplay("<key>ResetsPresetOnWake</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 11")) << app.errorOutput();
  ASSERT_TRUE(statusSays(app, "gamma: table"));

  app.send("sleep");
  ASSERT_TRUE(app.waitForLine("asleep"));
  app.send("wake");
  ASSERT_TRUE(app.waitForLine("awake"));
  EXPECT_TRUE(statusSays(app, "preset 11 \"Lumora XDR (1250 nits)\"")) << "after the settle time";
  EXPECT_TRUE(statusSays(app, "gamma: table"));
  EXPECT_EQ(table(std::to_string(sim::factoryMainDisplayID)), "table");
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(DisplayKeepingEndToEndTest, AnOutsideChangeOfTheMainScreenMovesTheTableOnlyWithoutAPanel) {
  // With a built-in panel the table stays on it; without one it follows the main screen.
  for (const bool builtIn : {true, false}) {
    storeDefaults(raisedWithMediumBlacks);
    std::string text = sim::toXml(sim::factoryDisplayState().get());
    if (!builtIn) text.replace(text.find("<key>BuiltIn</key>"), 18, "<key>Built</key>");
    text.insert(text.rfind("</array>"), "<dict><key>DisplayID</key><integer>5</integer></dict>");
    replaceFile(text);
    RunningApp app(home_.path());
    ASSERT_TRUE(statusSays(app, "gamma: table")) << app.errorOutput();
    const std::string panel = std::to_string(sim::factoryMainDisplayID);
    ASSERT_EQ(table(panel), "table");

    text = readText(displayPath());
    const std::string screen = "<key>MainScreenDisplayID</key>\n\t<integer>" + panel;
    ASSERT_NE(text.find(screen), std::string::npos);
    text.replace(text.find(screen), screen.size(), "<key>MainScreenDisplayID</key>\n\t<integer>5");
    replaceFile(text);
    const std::string moved = builtIn ? panel : "5";
    const std::string left = builtIn ? "5" : panel;
    for (int wait = 0; wait < 50 && table(moved) != "table"; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // The reconfiguration restores the calibration, then the table comes back.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(table(moved), "table") << builtIn;
    EXPECT_EQ(table(left), "none") << builtIn;
    EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  }
}

TEST_F(DisplayKeepingEndToEndTest, ADisplayThatRefusesPresetsIsRaisedThroughHeadroomInstead) {
  storeDisplay("<key>RefusesPresets</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1250");
  EXPECT_TRUE(statusSays(app, "gives 1250 nits, headroom 3.2")) << app.errorOutput();
  EXPECT_TRUE(statusSays(app, "preset 0"));
  app.send("alert");
  EXPECT_TRUE(app.waitForLine("alert: none")) << "the feature still works: nothing to say";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(app.errorOutput().find("did not take the XDR brightness preset"), std::string::npos);
}

TEST_F(DisplayKeepingEndToEndTest, WhenNeitherMethodWorksItSaysSoOnceAndStaysStandard) {
  storeDisplay("<key>RefusesPresets</key><true/><key>EDRHeadroomDelay</key><real>60</real>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1250");
  ASSERT_TRUE(app.waitForLine("alert: XDR Brightness Unavailable")) << app.errorOutput();
  app.send("answer");
  EXPECT_TRUE(statusSays(app, "preset 0"));
  EXPECT_TRUE(statusSays(app, "gives 500 nits"));
  app.send("pick 1600");
  std::this_thread::sleep_for(std::chrono::milliseconds(3500));
  app.send("alert");
  EXPECT_TRUE(app.waitForLine("alert: none")) << "once per run";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  const std::string errors = app.errorOutput();
  EXPECT_NE(errors.find("did not take"), std::string::npos);
  EXPECT_NE(errors.find("neither the brightness preset nor the request for EDR headroom"),
            std::string::npos);
  // One line for the switch, one for the unavailability.
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
}

TEST_F(DisplayKeepingEndToEndTest, ASignalWhileTheDisplaysSettleStillRestoresTheStandardPreset) {
  storeDefaults(raisedWithMediumBlacks);
  storeDisplay("<key>ResetsPresetOnWake</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 11")) << app.errorOutput();
  app.send("sleep");
  app.send("wake");
  ASSERT_TRUE(app.waitForLine("awake"));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(readText(displayPath()).find("<key>ActivePresetIndex</key>\n\t\t\t<integer>0<"),
            std::string::npos);
}

}  // namespace
}  // namespace lumora::testing
