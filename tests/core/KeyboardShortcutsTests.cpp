// The global keyboard shortcuts on the fakes: held only while the toggle is on, each a command,
// their combinations read from the defaults, and every problem said once.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "support/MenuEntries.h"
#include "ui/HotKeyParsing.h"

namespace lumora {
namespace {

using testing::entrySending;
using testing::FakePlatform;

constexpr const char* brighter = "ctrl+option+command+up";
constexpr const char* dimmer = "ctrl+option+command+down";
constexpr const char* toggle = "ctrl+option+command+0";
constexpr const char* nextDeepBlacks = "ctrl+option+command+d";

class KeyboardShortcutsTest : public ::testing::Test {
 protected:
  void launch() {
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
  }
  void toggleShortcuts() {
    delegate_->performMenuAction("toggleShortcuts", platform::MenuItemSender{});
  }
  const platform::MenuItem& toggleEntry() const {
    return entrySending(*fake_.statusBar.lastItem->menu, "toggleShortcuts");
  }
  double nits() { return controllers_.xdr().currentNits(); }
  // The lines said on standard error that hold `text`.
  long said(const std::string& text) const {
    return std::count_if(
        fake_.console.errors.begin(), fake_.console.errors.end(),
        [&text](const std::string& line) { return line.find(text) != std::string::npos; });
  }

  FakePlatform fake_;
  SharedControllers controllers_{fake_.platform};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(KeyboardShortcutsTest, NoneIsHeldUntilTheToggleIsOnAndNothingIsWrittenMeanwhile) {
  launch();
  EXPECT_EQ(fake_.hotKeys.registrations, 0);
  EXPECT_EQ(toggleEntry().title, "Keyboard Shortcuts");
  EXPECT_EQ(toggleEntry().state, platform::ControlState::off);
  EXPECT_EQ(fake_.userDefaults.writeCount, 0);
}

TEST_F(KeyboardShortcutsTest, WhileOnEachShortcutDoesItsCommandAndOffGivesThemBack) {
  launch();
  toggleShortcuts();
  EXPECT_EQ(toggleEntry().state, platform::ControlState::on);
  EXPECT_EQ(std::get<bool>(fake_.userDefaults.values.at("keyboardShortcutsEnabled")), true);
  for (const char* held : {brighter, dimmer, toggle, nextDeepBlacks}) {
    EXPECT_TRUE(fake_.hotKeys.holds(held)) << held;
  }

  ASSERT_TRUE(fake_.hotKeys.press(brighter));
  EXPECT_DOUBLE_EQ(nits(), 800.0);
  ASSERT_TRUE(fake_.hotKeys.press(brighter));
  EXPECT_DOUBLE_EQ(nits(), 1000.0);
  ASSERT_TRUE(fake_.hotKeys.press(dimmer));
  EXPECT_DOUBLE_EQ(nits(), 800.0);
  ASSERT_TRUE(fake_.hotKeys.press(toggle));
  EXPECT_DOUBLE_EQ(nits(), 500.0);
  ASSERT_TRUE(fake_.hotKeys.press(nextDeepBlacks));
  EXPECT_EQ(controllers_.deepBlacks().currentLevel(), DeepBlacksController::Level::subtle);

  toggleShortcuts();
  EXPECT_EQ(fake_.hotKeys.heldCount(), 0u);
  EXPECT_FALSE(fake_.hotKeys.press(brighter));
  EXPECT_EQ(std::get<bool>(fake_.userDefaults.values.at("keyboardShortcutsEnabled")), false);
  for (const auto& shortcut : ui::KeyboardShortcuts::shortcuts) {
    EXPECT_FALSE(fake_.userDefaults.values.contains(shortcut.key.name)) << "only the user writes";
  }
}

TEST_F(KeyboardShortcutsTest, TheToggleStoredOnHoldsThemFromTheLaunch) {
  fake_.userDefaults.values["keyboardShortcutsEnabled"] = true;
  launch();
  EXPECT_EQ(fake_.hotKeys.heldCount(), 4u);
  EXPECT_EQ(toggleEntry().state, platform::ControlState::on);
}

TEST_F(KeyboardShortcutsTest, OneAnotherAppHoldsIsSaidOnceAndCountedAndTheOthersWork) {
  fake_.hotKeys.takenByOthers = {nextDeepBlacks};
  launch();
  toggleShortcuts();
  EXPECT_EQ(toggleEntry().title, "Keyboard Shortcuts (1 taken)");
  EXPECT_EQ(said(nextDeepBlacks), 1);
  EXPECT_EQ(fake_.hotKeys.heldCount(), 3u);
  ASSERT_TRUE(fake_.hotKeys.press(brighter));
  EXPECT_DOUBLE_EQ(nits(), 800.0);

  toggleShortcuts();
  EXPECT_EQ(toggleEntry().title, "Keyboard Shortcuts") << "off, nothing is taken";
  toggleShortcuts();
  EXPECT_EQ(toggleEntry().title, "Keyboard Shortcuts (1 taken)");
  EXPECT_EQ(said(nextDeepBlacks), 1) << "said once per run";
}

TEST_F(KeyboardShortcutsTest, CombinationsComeFromTheDefaultsAndOneThatDoesNotParseIsItsDefault) {
  fake_.userDefaults.values["shortcutBrighter"] = std::string("Shift+Command+Option+B");
  fake_.userDefaults.values["shortcutDimmer"] = std::string("ctrl+banana");
  fake_.userDefaults.values["shortcutToggleXDR"] = std::string(brighter);  // another's default
  launch();
  toggleShortcuts();
  EXPECT_TRUE(fake_.hotKeys.holds("option+command+shift+b"));
  EXPECT_TRUE(fake_.hotKeys.holds(dimmer));
  EXPECT_TRUE(fake_.hotKeys.holds(brighter)) << "held for the toggle it names";
  EXPECT_FALSE(fake_.hotKeys.holds(toggle));
  EXPECT_EQ(said("shortcutDimmer \"ctrl+banana\" is not a shortcut"), 1);
  EXPECT_EQ(said(std::string(dimmer) + " is used instead"), 1);

  ASSERT_TRUE(fake_.hotKeys.press(brighter));
  EXPECT_DOUBLE_EQ(nits(), 1600.0) << "the toggle's command, XDR on";
  toggleShortcuts();
  toggleShortcuts();
  EXPECT_EQ(said("ctrl+banana"), 1);
}

TEST_F(KeyboardShortcutsTest, TwoShortcutsOnOneCombinationKeepTheFirst) {
  fake_.userDefaults.values["shortcutNextDeepBlacks"] = std::string("Ctrl+Option+Command+Up");
  launch();
  toggleShortcuts();
  EXPECT_EQ(fake_.hotKeys.heldCount(), 3u);
  EXPECT_EQ(said("shortcutNextDeepBlacks is ctrl+option+command+up, as shortcutBrighter is"), 1);
  ASSERT_TRUE(fake_.hotKeys.press(brighter));
  EXPECT_DOUBLE_EQ(nits(), 800.0);
  EXPECT_EQ(toggleEntry().title, "Keyboard Shortcuts");
}

TEST(HotKeyParsingTest, ModifiersAndOneKeyInAnyOrderAndCase) {
  struct Case {
    const char* text;
    const char* parsed;  // as the app writes it; none for a refusal
    const char* named;   // what the refusal names
  };
  for (const Case& c : {
           Case{"ctrl+option+command+up", "ctrl+option+command+up", ""},
           Case{"Command+CTRL+option+UP", "ctrl+option+command+up", ""},
           Case{"ctrl + option + d", "ctrl+option+d", ""},
           Case{"shift+command+5", "command+shift+5", ""},
           Case{"ctrl+F12", "ctrl+f12", ""},
           Case{"", nullptr, "an empty part"},
           Case{"up", nullptr, "it needs ctrl or command"},
           Case{"shift+up", nullptr, "it needs ctrl or command"},
           Case{"option+F12", nullptr, "it needs ctrl or command"},
           Case{"Option+Shift+up", nullptr, "it needs ctrl or command"},
           Case{"ctrl+", nullptr, "an empty part"},
           Case{"ctrl++up", nullptr, "an empty part"},
           Case{"ctrl+ctrl+up", nullptr, "\"ctrl\" is there twice"},
           Case{"ctrl+up+down", nullptr, "two keys, \"up\" and \"down\""},
           Case{"ctrl+option+command", nullptr, "no key"},
           Case{"ctrl+f13", nullptr, "\"f13\" is neither"},
           Case{"ctrl+pageup", nullptr, "\"pageup\" is neither"},
           Case{"hyper+up", nullptr, "\"hyper\" is neither"},
           Case{"ctrl+\xC3\xA9", nullptr, "\"\\xC3\\xA9\" is neither"},
       }) {
    const ui::ParsedHotKey parsed = ui::parseHotKey(c.text);
    if (c.parsed != nullptr) {
      ASSERT_TRUE(parsed.hotKey) << c.text << ": " << parsed.refusal;
      EXPECT_EQ(platform::hotKeyText(*parsed.hotKey), c.parsed);
    } else {
      EXPECT_FALSE(parsed.hotKey) << c.text;
      EXPECT_NE(parsed.refusal.find(c.named), std::string::npos)
          << c.text << ": " << parsed.refusal;
    }
  }
}

}  // namespace
}  // namespace lumora
