// The keyboard shortcuts on the simulated Mac, pressed with the headless `hotkey` command: held
// only while the toggle is on, and one another app holds (TakenHotKeys) is told, not held.

#include <gtest/gtest.h>

#include <string>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

class HotKeysEndToEndTest : public SimulatedMacTest {
 protected:
  void launch(RunningApp& app) { ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput(); }
  std::string reply(RunningApp& app, const std::string& command, const std::string& expected) {
    app.send(command);
    return app.waitForLine(expected).value_or("(no \"" + expected + "\" line)");
  }
};

TEST_F(HotKeysEndToEndTest, AShortcutWorksOnlyWhileTheToggleIsOn) {
  RunningApp app(home_.path());
  launch(app);
  EXPECT_NE(reply(app, "hotkey ctrl+option+command+up", "error: hotkey:").find("no app holds"),
            std::string::npos);

  reply(app, "pick Keyboard Shortcuts", "picked:");
  EXPECT_EQ(reply(app, "hotkey Command+Ctrl+Option+UP", "hotkey:"),
            "hotkey: pressed Command+Ctrl+Option+UP");
  EXPECT_TRUE(statusSays(app, "SDR 800 nits"));
  reply(app, "hotkey ctrl+option+command+0", "hotkey:");
  EXPECT_TRUE(statusSays(app, "SDR 500 nits"));

  reply(app, "pick Keyboard Shortcuts", "picked:");
  EXPECT_NE(reply(app, "hotkey ctrl+option+command+up", "error: hotkey:").find("no app holds"),
            std::string::npos);
  EXPECT_TRUE(statusSays(app, "SDR 500 nits"));
  EXPECT_NE(readText(home_ / "config/lumora-virir/defaults.plist")
                .find("<key>keyboardShortcutsEnabled</key>\n\t<false/>"),
            std::string::npos);
}

TEST_F(HotKeysEndToEndTest, OneAnotherAppHoldsIsToldOnceAndTheOthersWork) {
  std::string text = sim::toXml(sim::factoryDisplayState().get());
  text.insert(text.find("<dict>") + 6,
              "<key>TakenHotKeys</key><array><string>Option+Ctrl+Command+D</string></array>");
  replaceFile(text);
  storeDefaults("<key>keyboardShortcutsEnabled</key><true/>");
  RunningApp app(home_.path());
  launch(app);
  EXPECT_EQ(reply(app, "menu", "Keyboard Shortcuts"), "menu: \u2713 Keyboard Shortcuts (1 taken)");
  EXPECT_NE(
      reply(app, "hotkey ctrl+option+command+d", "error: hotkey:").find("is held by another app"),
      std::string::npos);
  reply(app, "hotkey ctrl+option+command+up", "hotkey:");
  EXPECT_TRUE(statusSays(app, "SDR 800 nits"));

  // Off and on again: still taken, and told no more.
  reply(app, "pick Keyboard Shortcuts", "picked:");
  reply(app, "pick Keyboard Shortcuts", "picked:");
  EXPECT_EQ(reply(app, "menu", "Keyboard Shortcuts"), "menu: \u2713 Keyboard Shortcuts (1 taken)");
  const std::string said = app.errorOutput();
  EXPECT_NE(said.find("ctrl+option+command+d (shortcutNextDeepBlacks) is held by another app"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("held by another app"), said.rfind("held by another app")) << said;
}

TEST_F(HotKeysEndToEndTest, AShortcutWithOnlyOptionIsSaidOnceAndItsDefaultWorks) {
  storeDefaults(
      "<key>keyboardShortcutsEnabled</key><true/>"
      "<key>shortcutBrighter</key><string>option+up</string>");
  RunningApp app(home_.path());
  launch(app);
  EXPECT_NE(reply(app, "hotkey option+up", "error: hotkey:").find("no app holds"),
            std::string::npos);
  EXPECT_EQ(reply(app, "hotkey ctrl+option+command+up", "hotkey:"),
            "hotkey: pressed ctrl+option+command+up");
  EXPECT_TRUE(statusSays(app, "SDR 800 nits"));

  // Off and on again: read again, and told no more.
  reply(app, "pick Keyboard Shortcuts", "picked:");
  reply(app, "pick Keyboard Shortcuts", "picked:");
  reply(app, "hotkey ctrl+option+command+up", "hotkey:");
  EXPECT_TRUE(statusSays(app, "SDR 1000 nits"));
  const std::string said = app.errorOutput();
  const std::string refusal =
      "shortcutBrighter \"option+up\" is not a shortcut (it needs ctrl or "
      "command";
  EXPECT_NE(said.find(refusal), std::string::npos) << said;
  EXPECT_EQ(said.find("option+up"), said.rfind("option+up")) << said;
  EXPECT_NE(said.find("ctrl+option+command+up is used instead"), std::string::npos) << said;
}

}  // namespace
}  // namespace lumora::testing
