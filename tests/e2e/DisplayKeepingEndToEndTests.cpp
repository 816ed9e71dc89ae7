// The built program while the simulated Mac sleeps, wakes, changes its displays or refuses
// presets: the display comes back to what the user chose.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e/RunningApp.h"
#include "platform/sim/machine/FactoryDisplay.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* raisedWithMediumBlacks =
    "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>"
    "<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key><integer>2</integer>"
    "<key>deepBlacksWarningShown</key><true/>";

class DisplayKeepingEndToEndTest : public ::testing::Test {
 protected:
  fs::path displayPath() const { return home_ / "state/lumora-virir/display.plist"; }
  void storeDefaults(const std::string& entries) const {
    writeText(home_ / "config/lumora-virir/defaults.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
                  entries + "</dict></plist>\n");
  }
  // The factory display with `extra` in the built-in display's entry, and more displays after it.
  void storeDisplay(const std::string& extra, const std::string& moreDisplays = "") const {
    std::string text = sim::toXml(sim::factoryDisplayState().get());
    text.insert(text.find("<key>DisplayID</key>"), extra);
    text.insert(text.rfind("</array>"), moreDisplays);
    replaceFile(text);
  }
  // As another program would: a whole new file in its place.
  void replaceFile(const std::string& text) const {
    writeText(displayPath().string() + ".new", text);
    fs::rename(displayPath().string() + ".new", displayPath());
  }
  // Asks for the status until it says `text`, for at most about five seconds.
  bool statusSays(RunningApp& app, const std::string& text) {
    for (int attempt = 0; attempt < 25; ++attempt) {
      app.send("status");
      if (app.waitForLine("status: ").value_or("").find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }
  std::string table(const std::string& display) const {
    const std::string text = readText(displayPath());
    const std::size_t entry =
        text.find("<key>DisplayID</key>\n\t\t\t<integer>" + display + "</integer>");
    const std::size_t next = text.find("<key>DisplayID</key>", entry + 1);
    const std::size_t found = text.find("<key>TransferTable</key>", entry);
    return entry != std::string::npos && found != std::string::npos && found < next ? "table"
                                                                                    : "none";
  }

  TempDirectory home_;
};

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

TEST_F(DisplayKeepingEndToEndTest, AnOutsideChangeOfTheMainScreenMovesTheTable) {
  storeDefaults(raisedWithMediumBlacks);
  storeDisplay("", "<dict><key>DisplayID</key><integer>5</integer></dict>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "gamma: table")) << app.errorOutput();
  const std::string builtIn = std::to_string(sim::factoryMainDisplayID);
  ASSERT_EQ(table(builtIn), "table");

  std::string text = readText(displayPath());
  const std::string screen = "<key>MainScreenDisplayID</key>\n\t<integer>" + builtIn;
  ASSERT_NE(text.find(screen), std::string::npos);
  text.replace(text.find(screen), screen.size(), "<key>MainScreenDisplayID</key>\n\t<integer>5");
  replaceFile(text);
  for (int wait = 0; wait < 50 && table("5") != "table"; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(table("5"), "table");
  EXPECT_EQ(table(builtIn), "none");
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(DisplayKeepingEndToEndTest, ADisplayThatRefusesPresetsSaysSoOnceAndStaysStandard) {
  storeDisplay("<key>RefusesPresets</key><true/>");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.send("pick 1250");
  ASSERT_TRUE(app.waitForLine("alert: XDR Brightness Unavailable")) << app.errorOutput();
  app.send("answer");
  EXPECT_TRUE(statusSays(app, "preset 0"));
  app.send("pick 1600");
  app.send("alert");
  EXPECT_TRUE(app.waitForLine("alert: none")) << "once per run";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_NE(app.errorOutput().find("did not accept the XDR brightness preset"), std::string::npos);
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
