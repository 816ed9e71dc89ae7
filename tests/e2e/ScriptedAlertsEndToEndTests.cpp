// Every alert the app raises, answered by a script that sends the command and its answer in one
// write: the command's reply comes first, then the alert, then the answer's reply, whether the
// alert opens at once, on a later turn of the run loop, or after a wait. An alert that comes
// unasked is answered the same way.

#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <thread>
#include <vector>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;

class ScriptedAlertsTest : public SimulatedMacTest {
 protected:
  // Sends `commands` and "alert" in one write; the lines said from then on until the alert's
  // reply, but the status lines, which come as the display changes.
  std::vector<std::string> script(RunningApp& app, std::vector<std::string> commands,
                                  std::chrono::milliseconds limit = 10s) {
    const std::size_t before = app.outputLines().size();
    commands.push_back("alert");
    app.sendTogether(commands);
    EXPECT_TRUE(app.waitForLine("alert: none", limit)) << app.errorOutput();
    std::vector<std::string> said;
    for (std::size_t i = before; i < app.outputLines().size(); ++i) {
      if (!app.outputLines()[i].starts_with("status: ")) said.push_back(app.outputLines()[i]);
    }
    return said;
  }
  static std::string unasked(std::string_view message) {
    return "alert: " + std::string(message) + " (answer with \"answer\")";
  }
  void launch(RunningApp& app) { ASSERT_TRUE(app.waitForLine("status: ")) << app.errorOutput(); }
  static plist_t redChannel(plist_t root) {
    const plist_t display = plist_array_get_item(sim::dictItem(root, "Displays"), 0);
    return sim::dictItem(sim::dictItem(display, "TransferTable"), "Red");
  }
  // Waits, reading the file alone, for the table's white to be `peak`, for about five seconds.
  bool peakIs(double peak) const {
    for (int attempt = 0; attempt < 50; ++attempt) {
      const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
      const plist_t red = root ? redChannel(root.get()) : nullptr;
      if (red != nullptr && sim::realValue(plist_array_get_item(red, 255)) == peak) return true;
      std::this_thread::sleep_for(100ms);
    }
    return false;
  }
};

TEST_F(ScriptedAlertsTest, TheDeepBlacksWarningOpensOnTheNextTurnBeforeTheAnswerIsRead) {
  RunningApp app(home_.path());
  launch(app);
  EXPECT_EQ(script(app, {"pick Deep Blacks > Medium", "answer"}),
            (std::vector<std::string>{"picked: Medium", unasked("Deep Blacks Enabled"),
                                      "answered: I Understand", "alert: none"}));
  EXPECT_NE(readText(home_ / "config/lumora-virir/defaults.plist").find("deepBlacksWarningShown"),
            std::string::npos);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(ScriptedAlertsTest, ALoginItemThatCannotBeMadeIsReportedBeforeTheAnswerIsRead) {
  // A file where the autostart folder would be: no entry can be written, not even by root.
  writeText(home_ / "config/autostart", "not a folder\n");
  RunningApp app(home_.path());
  launch(app);
  std::vector<std::string> said = script(app, {"pick Launch at Login", "answer"});
  // The error's own line comes as it happens, while the entry is picked.
  EXPECT_EQ(std::erase_if(said,
                          [](const std::string& line) {
                            return line.starts_with("Login item error: cannot write ");
                          }),
            1u);
  EXPECT_EQ(said, (std::vector<std::string>{"picked: Launch at Login",
                                            unasked("Launch at Login Could Not Be Turned On"),
                                            "answered: OK", "alert: none"}));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(ScriptedAlertsTest, HeadroomThatNeverComesIsWaitedForBeforeTheAnswerIsRead) {
  storeDisplay("");
  changeValue("SystemVersion", "<string>26.4</string>");
  changeValue("MaximumEDRHeadroom", "<real>1.0</real>");
  RunningApp app(home_.path());
  launch(app);
  // The wait for headroom lasts three seconds: the answer waits with it.
  EXPECT_EQ(script(app, {"pick 1250", "answer"}),
            (std::vector<std::string>{"picked: 250% \u2013 1250 nits",
                                      unasked("XDR Brightness Unavailable"), "answered: OK",
                                      "alert: none"}));
  EXPECT_TRUE(statusSays(app, "preset 0 ")) << "back at SDR";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(ScriptedAlertsTest, TheUpdateCheckIsAnsweredInTheSameWrite) {
  RunningApp app(home_.path());
  launch(app);
  EXPECT_EQ(
      script(app, {"pick Check for Updates...", "answer"}),
      (std::vector<std::string>{"picked: Check for Updates...", unasked("No Update Available"),
                                "answered: OK", "alert: none"}));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(ScriptedAlertsTest, AnAlertThatComesUnaskedIsSaidAndAnswered) {
  storeDefaults("<key>deepBlacksWarningShown</key><true/>");
  storeDisplay("");
  changeValue("SystemVersion", "<string>26.4</string>");
  RunningApp app(home_.path());
  launch(app);
  app.send("pick 1250");
  ASSERT_TRUE(statusSays(app, "gives 1250 nits")) << app.errorOutput();
  // Another app's table, again and again: the third time within a minute stops the boost.
  for (int replaced = 1; replaced <= 3; ++replaced) {
    ASSERT_TRUE(peakIs(2.5)) << "the boost, loaded again before replacement " << replaced;
    const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
    plist_set_real_val(plist_array_get_item(redChannel(root.get()), 255), 0.5);
    replaceFile(sim::toXml(root.get()));
  }
  EXPECT_TRUE(app.waitForLine(unasked("XDR Brightness Stopped"), 5s)) << app.errorOutput();
  EXPECT_EQ(script(app, {"answer"}), (std::vector<std::string>{"answered: OK", "alert: none"}));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

}  // namespace
}  // namespace lumora::testing
