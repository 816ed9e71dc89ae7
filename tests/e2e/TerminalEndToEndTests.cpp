// The terminal front end, driven in a real terminal: keys in, the screen read back.

#include <gtest/gtest.h>
#include <signal.h>

#include "e2e/TmuxSession.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

class TerminalEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxSession::available()) GTEST_SKIP() << "tmux cannot open a terminal here";
    session_ = std::make_unique<TmuxSession>(home_.path());
    ASSERT_TRUE(session_->waitFor("Enter: status menu")) << session_->capture();
  }

  std::int64_t activeIndex() const {
    const sim::PlistPtr root = sim::fromXml(readText(home_ / "state/lumora-virir/display.plist"));
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    return sim::integerValue(sim::dictItem(display, "ActivePresetIndex")).value_or(-1);
  }
  std::string defaults() const { return readText(home_ / "config/lumora-virir/defaults.plist"); }
  // The screen's first line: the menu bar.
  std::string menuBar() {
    const std::string screen = session_->capture();
    return screen.substr(0, screen.find('\n'));
  }
  // With a menu open, moves down to the entry titled `title` (Right enters its submenu); false
  // when no entry of that title comes up.
  bool select(const std::string& title) {
    for (int step = 0; step < 25; ++step) {
      for (const std::string& run : session_->highlighted()) {
        if (run.find(title) != std::string::npos) return true;
      }
      session_->sendKeys({"Down"});
    }
    return false;
  }
  // Opens the menu and picks the entry at the end of `path`, entering submenus on the way.
  void choose(const std::vector<std::string>& path) {
    session_->sendKeys({"Enter"});
    ASSERT_TRUE(session_->waitFor("\u2318Q")) << session_->capture();
    for (std::size_t i = 0; i < path.size(); ++i) {
      ASSERT_TRUE(select(path[i])) << path[i] << "\n" << session_->capture();
      session_->sendKeys({i + 1 < path.size() ? "Right" : "Enter"});
    }
  }
  void expectEndedCleanly() {
    ASSERT_TRUE(session_->waitFor("EXIT:0")) << session_->capture();
    const std::string screen = session_->capture();
    const std::string settings = screen.substr(screen.find("EXIT:0"));
    EXPECT_NE(settings.find("icanon"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("-icanon"), std::string::npos)
        << "the terminal is restored: " << settings;
    EXPECT_EQ(settings.find("-echo"), std::string::npos) << settings;
    EXPECT_EQ(screen.find("Simulated display"), std::string::npos) << "the screen is handed back";
    EXPECT_EQ(activeIndex(), 0);
  }

  TempDirectory home_;
  std::unique_ptr<TmuxSession> session_;
};

TEST_F(TerminalEndToEndTest, AFullTourOfTheMenu) {
  TmuxSession& terminal = *session_;
  EXPECT_NE(menuBar().find("\u263C"), std::string::npos) << "the sun of the SDR state";

  // A level, by keyboard.
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitFor("\U0001F4A1 SDR Mode")) << terminal.capture();
  terminal.sendKeys({"Escape"});
  choose({"1250 nits"});
  ASSERT_TRUE(terminal.waitFor("SDR ceiling    1250 nits")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("Slot 11        \"Lumora XDR (1250 nits)\""));
  EXPECT_EQ(activeIndex(), 11);
  EXPECT_NE(menuBar().find("\u2600"), std::string::npos);
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitFor("XDR Enabled (250%)")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("\u2713   250% \u2013 1250 nits")) << terminal.capture();
  terminal.sendKeys({"Escape"});
  ASSERT_TRUE(terminal.waitForGone("XDR Enabled (250%)"));

  // Deep Blacks through its submenu, and the warning.
  choose({"Deep Blacks", "Medium"});
  ASSERT_TRUE(terminal.waitFor("Deep Blacks Enabled")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("[ I Understand ]"));
  EXPECT_TRUE(terminal.waitFor("\u263E\u2726")) << "the moon replaces the sun";
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitForGone("[ I Understand ]")) << terminal.capture();
  EXPECT_NE(defaults().find("<key>deepBlacksWarningShown</key>\n\t<true/>"), std::string::npos);
  EXPECT_TRUE(terminal.waitFor("table loaded by process"));

  // The settings window, and the app in the Dock while it is open.
  EXPECT_EQ(terminal.capture().find("Dock: \u25C9 Lumora Virir"), std::string::npos);
  terminal.sendKeys({"Enter", ","});
  ASSERT_TRUE(terminal.waitFor("Lumora Virir Settings")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("Lumora Virir v1.5.0 - XDR Brightness Control"));
  EXPECT_TRUE(terminal.waitFor("Dock: \u25C9 Lumora Virir"));
  terminal.sendKeys({"Escape"});
  ASSERT_TRUE(terminal.waitForGone("Lumora Virir Settings")) << terminal.capture();
  EXPECT_TRUE(terminal.waitForGone("Dock: \u25C9 Lumora Virir"));

  // Quit with its key equivalent while the menu is open.
  terminal.sendKeys({"Enter", "q"});
  expectEndedCleanly();
}

TEST_F(TerminalEndToEndTest, HelpShowsTheKeysAndAnyKeyClosesIt) {
  session_->sendKeys({"?"});
  ASSERT_TRUE(session_->waitFor("Any key closes this help."));
  session_->sendKeys({"a"});
  EXPECT_TRUE(session_->waitForGone("Any key closes this help."));
}

TEST_F(TerminalEndToEndTest, CtrlCEndsTheAppAndHandsTheTerminalBack) {
  choose({"1000 nits"});
  ASSERT_TRUE(session_->waitFor("SDR ceiling    1000 nits")) << session_->capture();
  session_->sendKeys({"Enter"});  // with the menu open
  ASSERT_TRUE(session_->waitFor("\u2318Q"));
  session_->sendKeys({"C-c"});
  expectEndedCleanly();
}

TEST_F(TerminalEndToEndTest, SigtermEndsTheAppWhileAnAlertIsOpen) {
  choose({"Deep Blacks", "Subtle"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  const std::optional<pid_t> program = session_->programPid();
  ASSERT_TRUE(program);
  ::kill(*program, SIGTERM);
  expectEndedCleanly();
  EXPECT_EQ(defaults().find("deepBlacksWarningShown"), std::string::npos);
}

}  // namespace
}  // namespace lumora::testing
