// The built program stepping XDR aside on the simulated Mac's battery and heat, and bringing it
// back by itself.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

// The entries that the `menu` reply shows disabled, each as `pick` names it ("Pause XDR > On
// Battery Power"). A line is its margin (four spaces a level), a mark and a space, an image and
// two spaces where there is one, the title, and what follows it after two spaces.
std::vector<std::string> disabledEntries(const std::string& menu) {
  constexpr std::string_view disabled = "  (disabled)";
  std::vector<std::string> found;
  std::vector<std::string> path;
  std::size_t start = 0;
  for (std::size_t end; (end = menu.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string_view line = std::string_view(menu).substr(start, end - start);
    line.remove_prefix(std::string_view("menu: ").size());
    const std::size_t depth = line.find_first_not_of(' ') / 4;
    std::size_t at = depth * 4 + 1;  // past the mark's first byte
    while (at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
      ++at;
    std::string_view rest = line.substr(at + 1);
    if (rest == "----") continue;
    const bool isDisabled = rest.ends_with(disabled);
    if (isDisabled) rest.remove_suffix(disabled.size());
    if (const std::size_t image = rest.rfind("}  "); image != std::string_view::npos) {
      rest.remove_prefix(image + 3);
    }
    std::string title(rest.substr(0, rest.find("  ")));
    path.resize(depth);
    path.push_back(title);
    if (!isDisabled) continue;
    std::string named;
    for (const std::string& step : path)
      named += (named.empty() ? "" : " > ") + step;
    found.push_back(named);
  }
  return found;
}

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

TEST_F(PauseEndToEndTest, AMacWithoutABatteryRefusesEveryDisabledEntryAndStoresNothing) {
  const sim::PlistPtr withoutBattery = sim::factoryDisplayState();
  sim::removeDictItem(withoutBattery.get(), "Power");
  replaceFile(sim::toXml(withoutBattery.get()));
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();

  const std::vector<std::string> disabled = disabledEntries(menu(app));
  EXPECT_EQ(disabled,
            (std::vector<std::string>{"\U0001F4A1 SDR Mode", "Pause XDR > On Battery Power",
                                      "Pause XDR > Below 20% Battery"}));
  // Each is refused by the title it shows, and nothing is stored.
  for (const std::string& entry : disabled) {
    app.send("pick " + entry);
    const std::size_t last = entry.rfind("> ");
    const std::string title = last == std::string::npos ? entry : entry.substr(last + 2);
    EXPECT_EQ(app.waitForLine("error: pick: "), "error: pick: \"" + title + "\" is disabled");
  }
  app.send("status");
  ASSERT_TRUE(app.waitForLine("status: "));
  EXPECT_FALSE(std::filesystem::exists(home_ / "config/lumora-virir/defaults.plist"));
  // Heat needs no battery.
  app.send("pick When the Mac Is Hot");
  EXPECT_TRUE(app.waitForLine("picked: When the Mac Is Hot"));

  // A battery that comes enables its entries at once.
  app.send("power battery 50");
  ASSERT_TRUE(app.waitForLine("power: battery 50"));
  EXPECT_EQ(disabledEntries(menu(app)), std::vector<std::string>{"\U0001F4A1 SDR Mode"});
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  const std::string stored = readText(home_ / "config/lumora-virir/defaults.plist");
  EXPECT_NE(stored.find("pauseWhenHot"), std::string::npos);
  EXPECT_EQ(stored.find("pauseOnBattery"), std::string::npos);
  EXPECT_EQ(stored.find("pauseOnLowBattery"), std::string::npos);
}

}  // namespace
}  // namespace lumora::testing
