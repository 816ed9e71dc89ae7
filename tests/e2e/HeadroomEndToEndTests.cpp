// The built program raising the simulated panel through EDR headroom, as on macOS 26.3 and
// later: the window asked for, the table composed with Deep Blacks, taken down again, and the
// panel chosen over an external main display.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

constexpr const char* warned = "<key>deepBlacksWarningShown</key><true/>";

class HeadroomEndToEndTest : public SimulatedMacTest {
 protected:
  // The factory display on another release of macOS.
  void storeRelease(const std::string& version) const {
    storeDisplay("");
    changeValue("SystemVersion", "<string>" + version + "</string>");
  }
  // The red channel's entry 255 of the table in the file: what the panel's white is raised by.
  double tablePeak() const {
    const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    const plist_t red = sim::dictItem(sim::dictItem(display, "TransferTable"), "Red");
    if (red == nullptr) return 1.0;
    return sim::realValue(plist_array_get_item(red, 255)).value_or(-1.0);
  }
};

TEST_F(HeadroomEndToEndTest, ACurrentReleaseRaisesThePanelThroughHeadroomAndTakesItDownAgain) {
  storeDefaults(warned);
  storeRelease("26.4");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();

  app.send("pick 1250");
  ASSERT_TRUE(statusSays(app, "gives 1250 nits, headroom 3.2")) << app.errorOutput();
  EXPECT_TRUE(statusSays(app, "preset 0 ")) << "no preset is written";
  EXPECT_DOUBLE_EQ(tablePeak(), 2.5);
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("window edr: 1x1 EDR window on display 69733382"));
  EXPECT_NE(menu(app).find("\u2713 250% \u2013 1250 nits"), std::string::npos);

  // Deep Blacks and a higher level, while the panel has warmed up: composed and capped.
  changeValue("MaximumEDRHeadroom", "<real>2.5</real>");
  app.send("pick Deep Blacks > Medium");
  app.send("pick 1600");
  ASSERT_TRUE(statusSays(app, "mid-point 1.09331)")) << "Medium's 0.437324 x 2.5";
  EXPECT_TRUE(statusSays(app, "gives 1250 nits, headroom 2.5"));
  const std::string capped = menu(app);
  EXPECT_NE(capped.find("\u2713 320% \u2013 1600 nits (MAX)"), std::string::npos) << capped;
  EXPECT_NE(capped.find("Now 1250 nits: the display allows no more  (disabled)"), std::string::npos)
      << capped;

  // Off: the Deep Blacks curve alone, and no window.
  app.send("pick 100%");
  EXPECT_TRUE(statusSays(app, "mid-point 0.437324), gives 500 nits"));
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("windows: none"));

  app.send("pick 1250");
  ASSERT_TRUE(statusSays(app, "gives 1250 nits"));
  app.send("pick Quit");
  EXPECT_EQ(app.waitForExit(), 0);
  EXPECT_DOUBLE_EQ(tablePeak(), 1.0) << "quit leaves the base table";
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(HeadroomEndToEndTest, TheSliderScalesTheTableByTheLevelOverTheCeiling) {
  storeRelease("26.4");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("slide 1100");
  ASSERT_TRUE(app.waitForLine("slid: 1100 nits"));
  ASSERT_TRUE(statusSays(app, "gives 1100 nits, headroom 3.2")) << app.errorOutput();
  EXPECT_NEAR(tablePeak(), 2.2, 1e-6);
  EXPECT_NE(readText(home_ / "config/lumora-virir/defaults.plist")
                .find("<key>lastNitsValue</key>\n\t<real>1100</real>"),
            std::string::npos);
  EXPECT_NE(menu(app).find("\u2600\uFE0F XDR Enabled (220%)"), std::string::npos);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadroomEndToEndTest, APresetThatTheReleaseRemovesGoesOnThroughHeadroomWithoutAnAlert) {
  storeDefaults("<key>brightnessMethod</key><string>preset</string>");
  storeRelease("26.3");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();

  app.send("pick 1250");
  EXPECT_TRUE(
      statusSays(app, "preset 0 \"XDR Display (P3-1600 nits)\", SDR 500 nits, slot 11 empty"))
      << "and removed within a second";
  EXPECT_TRUE(statusSays(app, "gives 1250 nits, headroom 3.2")) << app.errorOutput();
  EXPECT_NE(menu(app).find("\u2713 250% \u2013 1250 nits"), std::string::npos);
  app.send("alert");
  EXPECT_TRUE(app.waitForLine("alert: none"));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_DOUBLE_EQ(tablePeak(), 1.0);
  EXPECT_NE(app.errorOutput().find("macOS removed the XDR brightness preset"), std::string::npos);
}

TEST_F(HeadroomEndToEndTest, SleepAndWakeBringTheBoostBack) {
  storeDefaults("<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1000</real>");
  storeRelease("26.4");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "gives 1000 nits")) << app.errorOutput();

  app.send("sleep");
  ASSERT_TRUE(app.waitForLine("asleep"));
  EXPECT_TRUE(statusSays(app, "gamma: calibrated, gives 500 nits, headroom 1"));
  app.send("wake");
  ASSERT_TRUE(app.waitForLine("awake"));
  EXPECT_TRUE(statusSays(app, "gives 1000 nits, headroom 3.2"));
  EXPECT_DOUBLE_EQ(tablePeak(), 2.0);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadroomEndToEndTest, AnExternalMainDisplayLeavesThePanelTheOneThatChanges) {
  // Display 5 has the menu bar and the focus; the built-in panel is still the one raised.
  storeDefaults(warned);
  std::string text = sim::toXml(sim::factoryDisplayState().get());
  const std::string panel = std::to_string(sim::factoryMainDisplayID);
  for (const char* key :
       {"<key>MainDisplayID</key>\n\t<integer>", "<key>MainScreenDisplayID</key>\n\t<integer>"}) {
    const std::size_t at = text.find(std::string(key) + panel);
    text.replace(at, std::string(key).size() + panel.size(), std::string(key) + "5");
  }
  text.insert(text.rfind("</array>"),
              "<dict><key>DisplayID</key><integer>5</integer><key>ActivePresetIndex</key>"
              "<integer>0</integer><key>Presets</key><dict><key>0</key><dict>"
              "<key>PresetMaxSDRLuminance</key><real>400</real></dict></dict></dict>");
  replaceFile(text);
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "display " + panel + ": preset 0")) << app.errorOutput();

  app.send("pick 1250");
  app.send("pick Deep Blacks > Deep");
  EXPECT_TRUE(statusSays(app, "display " + panel + ": preset 11"));
  EXPECT_TRUE(statusSays(app, "gamma: table"));
  EXPECT_EQ(table(panel), "table");
  EXPECT_EQ(table("5"), "none");
  const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
  const plist_t external = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 1);
  EXPECT_EQ(sim::integerValue(sim::dictItem(external, "ActivePresetIndex")), 0);
  EXPECT_EQ(sim::dictItem(sim::dictItem(external, "Presets"), "11"), nullptr);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

}  // namespace
}  // namespace lumora::testing
