// The built program's brightness slider, moved through the simulated Mac's command line: any
// level between the menu's, a stop at each of them, and values it refuses.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

class SliderEndToEndTest : public SimulatedMacTest {
 protected:
  // Slot 11 of the built-in display: its SDR ceiling and its name.
  std::pair<double, std::string> slot11() const {
    const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    const plist_t preset = sim::dictItem(sim::dictItem(display, "Presets"), "11");
    return {sim::realValue(sim::dictItem(preset, "PresetMaxSDRLuminance")).value_or(-1.0),
            sim::stringValue(sim::dictItem(preset, "PresetName")).value_or("")};
  }
  std::string defaults() const { return readText(home_ / "config/lumora-virir/defaults.plist"); }
};

TEST_F(SliderEndToEndTest, ALevelBetweenTheEntriesIsAppliedAndAValueNearOneLandsOnIt) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  EXPECT_NE(menu(app).find("menu:   Brightness: 500 nits (SDR)  [500\u20131600]\n"),
            std::string::npos);

  app.send("slide 1100");
  ASSERT_TRUE(app.waitForLine("slid: 1100 nits"));
  EXPECT_EQ(slot11(), (std::pair<double, std::string>{1100.0, "Lumora XDR (1100 nits)"}));
  EXPECT_TRUE(statusSays(app, "preset 11 \"Lumora XDR (1100 nits)\", SDR 1100 nits"));
  EXPECT_NE(defaults().find("<key>lastNitsValue</key>\n\t<real>1100</real>"), std::string::npos);
  std::string shown = menu(app);
  EXPECT_NE(shown.find("\u2600\uFE0F XDR Enabled (220%)"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\u2713 1"), std::string::npos) << "no level is marked:\n" << shown;
  EXPECT_EQ(shown.find("\u2713 2"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\u2713 3"), std::string::npos) << shown;
  EXPECT_NE(shown.find("menu:   Brightness: 1100 nits  [500\u20131600]\n"), std::string::npos);

  app.send("slide 1260");
  ASSERT_TRUE(app.waitForLine("slid: 1250 nits"));
  shown = menu(app);
  EXPECT_NE(shown.find("\u2713 250% \u2013 1250 nits"), std::string::npos) << shown;
  EXPECT_NE(defaults().find("<real>1250</real>"), std::string::npos);
  // The slider's title holds "1250" now too, and is no entry to pick.
  app.send("pick 1250");
  EXPECT_TRUE(app.waitForLine("picked: 250% \u2013 1250 nits"));

  for (const char* refused : {"slide 400", "slide 1600.5", "slide abc", "slide 1e999"}) {
    app.send(refused);
    const std::string reply = app.waitForLine("error: slide: ").value_or("");
    EXPECT_FALSE(reply.empty()) << refused;
  }
  app.send("status");
  EXPECT_NE(app.waitForLine("status: ").value_or("").find("SDR 1250 nits"), std::string::npos);
  EXPECT_EQ(slot11().first, 1250.0);
  EXPECT_NE(defaults().find("<real>1250</real>"), std::string::npos) << "nothing changed";

  // The SDR end turns XDR off and keeps the level.
  app.send("slide 500");
  ASSERT_TRUE(app.waitForLine("slid: 500 nits"));
  EXPECT_TRUE(statusSays(app, "preset 0 "));
  EXPECT_NE(defaults().find("<real>1250</real>"), std::string::npos);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

}  // namespace
}  // namespace lumora::testing
