// The headless protocol as a script relies on it: the start line first, a reply for every
// command at once and after what it stored is on disk, a word and a colon on every line, and the
// end of the input as the end of the app.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "display/DeepBlacksController.h"
#include "e2e/RunningApp.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class HeadlessProtocolTest : public ::testing::Test {
 protected:
  std::int64_t activeIndex() const {
    const sim::PlistPtr root = sim::fromXml(readText(home_ / "state/lumora-virir/display.plist"));
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    return sim::integerValue(sim::dictItem(display, "ActivePresetIndex")).value_or(-1);
  }
  std::string defaults() const { return readText(home_ / "config/lumora-virir/defaults.plist"); }
  static bool warningShownIn(const std::string& defaults) {
    return defaults.find("<key>deepBlacksWarningShown</key>\n\t<true/>") != std::string::npos;
  }
  // Whether `expected` come in `lines` in this order, each as the start of a line.
  static ::testing::AssertionResult inOrder(const std::vector<std::string>& lines,
                                            const std::vector<std::string>& expected) {
    auto at = lines.begin();
    for (const std::string& line : expected) {
      at = std::find_if(at, lines.end(),
                        [&](const std::string& candidate) { return candidate.starts_with(line); });
      if (at == lines.end()) {
        std::string all;
        for (const std::string& said : lines)
          all += "\n  " + said;
        return ::testing::AssertionFailure() << "no \"" << line << "\" where expected in:" << all;
      }
      ++at;
    }
    return ::testing::AssertionSuccess();
  }

  TempDirectory home_;
};

TEST_F(HeadlessProtocolTest, TheStartLineComesFirstEvenWithCommandsWaiting) {
  RunningApp app(home_.path());
  // Sent before the app has started: they wait in the pipe.
  app.send("pick 1250");
  app.send("STATUS");
  app.send("pick Quit Lumora Virir");
  EXPECT_EQ(app.waitForExit(), 0) << app.errorOutput();
  const std::vector<std::string>& lines = app.linesUntilClosed();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines.front().starts_with("status: ")) << lines.front();
  EXPECT_NE(lines.front().find("preset 0 "), std::string::npos) << "as the app started";
  EXPECT_TRUE(inOrder(lines, {"status: ", "picked: 250% \u2013 1250 nits",
                              "status: ", "picked: Quit Lumora Virir"}));
  EXPECT_EQ(lines.back(), "picked: Quit Lumora Virir") << "a quit is answered too";
  EXPECT_EQ(activeIndex(), 0);
}

TEST_F(HeadlessProtocolTest, APickThatOpensAnAlertIsAnsweredBeforeTheAlertIs) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  app.send("pick Check for Updates...");
  ASSERT_TRUE(app.waitForLine("picked: Check for Updates...", 5s))
      << "while the alert is still open";
  EXPECT_TRUE(app.waitForLine("alert: No Update Available", 5s));
  app.send("answer");
  EXPECT_TRUE(app.waitForLine("answered: OK", 5s));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadlessProtocolTest, AnAlertsTextComesBackExactlyAndAnAnswerComesAfterItsSave) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  app.send("pick Deep Blacks > Subtle");
  ASSERT_TRUE(app.waitForLine("alert: Deep Blacks Enabled", 5s));
  const std::size_t before = app.outputLines().size();
  app.send("alert");
  app.send("help");
  ASSERT_TRUE(app.waitForLine("commands: ", 5s));
  const std::vector<std::string> reply(app.outputLines().begin() + static_cast<long>(before),
                                       app.outputLines().end() - 1);
  ASSERT_GE(reply.size(), 3u);
  EXPECT_EQ(reply.front(), "alert: Deep Blacks Enabled");
  EXPECT_EQ(reply.back(), "alert: button 1: I Understand");
  // The text between them, line by line, blank lines as the bare word: put together again, it is
  // the text the app shows, paragraph breaks and all.
  std::string text;
  for (auto line = reply.begin() + 1; line != reply.end() - 1; ++line) {
    ASSERT_TRUE(*line == "alert:" || line->starts_with("alert: ")) << "\"" << *line << "\"";
    text += (line == reply.begin() + 1 ? "" : "\n") +
            line->substr(std::min<std::size_t>(7, line->size()));
  }
  EXPECT_EQ(text, DeepBlacksController::warningInformativeText);

  app.send("answer");
  ASSERT_TRUE(app.waitForLine("answered: I Understand", 5s));
  EXPECT_TRUE(warningShownIn(defaults())) << "on disk before the reply, without waiting";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadlessProtocolTest, CommandsIgnoreCaseAndEveryErrorIsMarkedWithItsCommand) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  for (const char* command :
       {"frobnicate now", "close x", "close", "answer", "pick", "status please", "alert", "windows",
        "Sleep", "SLEEP", "wake", "PICK settings", "Windows", "CLOSE 1", "close 1", "Help"}) {
    app.send(command);
  }
  app.closeInput();
  EXPECT_EQ(app.waitForExit(), 0);
  EXPECT_TRUE(inOrder(app.linesUntilClosed(), {
                                                  "error: frobnicate: unknown command",
                                                  "error: close: \"x\" is not a window number",
                                                  "error: close: no window is open",
                                                  "error: answer: no alert is open",
                                                  "error: pick: name an entry",
                                                  "error: status: takes no argument",
                                                  "alert: none",
                                                  "windows: none",
                                                  "sleep: asleep",
                                                  "error: sleep: the Mac is already asleep",
                                                  "wake: awake",
                                                  "picked: Settings...",
                                                  "window 1: \"Lumora Virir Settings\"",
                                                  "closed: window 1 \"Lumora Virir Settings\"",
                                                  "error: close: no window 1",
                                                  "commands: status | menu",
                                              }));
}

TEST_F(HeadlessProtocolTest, TheEndOfInputEndsTheAppAsQuitDoes) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  app.send("pick 1250");
  app.closeInput();
  const auto closed = Clock::now();
  EXPECT_EQ(app.waitForExit(5s), 0);
  // A second is plenty: the fault is never ending at all.
  EXPECT_LT(Clock::now() - closed, 1500ms);
  EXPECT_TRUE(inOrder(app.linesUntilClosed(), {"status: ", "picked: 250% \u2013 1250 nits"}))
      << "the command read before the end is answered";
  EXPECT_EQ(activeIndex(), 0) << "the standard preset, as after Quit";

  // An alert still open at the end stays unanswered.
  RunningApp warned(home_.path());
  warned.send("pick Deep Blacks > Subtle");
  warned.closeInput();
  EXPECT_EQ(warned.waitForExit(5s), 0);
  EXPECT_TRUE(inOrder(warned.linesUntilClosed(), {"status: ", "picked: Subtle"}));
  EXPECT_FALSE(warningShownIn(defaults()));
}

TEST_F(HeadlessProtocolTest, ALineOfSixteenMegabytesIsRefusedAtOnceAndNotEchoed) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  const std::string line = "pick " + std::string(16 << 20, 'x');
  const auto sent = Clock::now();
  app.send(line);
  const std::optional<std::string> refused = app.waitForLine("error: ", 10s);
  const auto took = Clock::now() - sent;
  ASSERT_TRUE(refused);
  EXPECT_LT(took, 1s);
  EXPECT_NE(refused->find(std::to_string(line.size()) + " bytes"), std::string::npos) << *refused;
  EXPECT_LT(refused->size(), 200u) << "not echoed";
  app.send("pick 1250");
  EXPECT_TRUE(app.waitForLine("picked: 250% \u2013 1250 nits", 5s)) << "the next line is read";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

}  // namespace
}  // namespace lumora::testing
