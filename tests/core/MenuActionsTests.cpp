#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/AppDelegate.h"
#include "app/PreferenceKeys.h"
#include "fakes/FakePlatform.h"
#include "support/MenuEntries.h"

namespace lumora {
namespace {

using testing::entrySending;
using testing::FakePlatform;
using testing::FakeUserDefaults;

class MenuActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
    fake_.log.clear();
  }
  void pick(std::string_view selector, std::int64_t tag = 0) {
    delegate_->performMenuAction(selector, platform::MenuItemSender{tag});
  }
  // The refreshes in the log, in order: "display" for the status item, "menu" for the menu.
  std::vector<std::string> refreshes() const {
    std::vector<std::string> order;
    for (const std::string& event : fake_.log.events()) {
      if (event.starts_with("button.setTitle")) order.push_back("display");
      if (event == "statusItem.setMenu") order.push_back("menu");
    }
    return order;
  }
  double lastNits() const {
    return std::get<double>(fake_.userDefaults.values.at("lastNitsValue"));
  }
  bool storedFlag(const std::string& key) const {
    return std::get<bool>(fake_.userDefaults.values.at(key));
  }
  const platform::MenuItem& loginEntry() const {
    return entrySending(*fake_.statusBar.lastItem->menu, "toggleLaunchAtLogin");
  }

  FakePlatform fake_;
  SharedControllers controllers_{fake_.platform};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(MenuActionsTest, ALevelAboveTheCeilingIsAppliedAndRemembered) {
  pick("setNits:", 1250);
  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1250.0);
  EXPECT_EQ(lastNits(), 1250.0);
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));

  pick("setNits:", 500);
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(lastNits(), 1250.0) << "the last XDR level stays remembered";
}

TEST_F(MenuActionsTest, TheLevelAlreadyActiveIsWrittenAgain) {
  pick("setNits:", 1000);
  pick("setNits:", 1000);
  ASSERT_EQ(fake_.windowServer.writes.size(), 2u);
  EXPECT_NE(fake_.windowServer.writes[0].values.at("PresetUniqueID"),
            fake_.windowServer.writes[1].values.at("PresetUniqueID"));
  EXPECT_EQ(fake_.log.count("windowServer.setActive 11"), 2);
}

TEST_F(MenuActionsTest, SwitchingXDROnUsesTheRememberedLevelOrTheMaximum) {
  struct Case {
    std::optional<double> stored;
    double applied;
    double storedAfter;
  };
  for (const Case& c :
       {Case{std::nullopt, 1600.0, 1600.0}, Case{0.0, 1600.0, 1600.0}, Case{500.0, 1600.0, 1600.0},
        Case{1250.0, 1250.0, 1250.0}, Case{2000.0, 1600.0, 2000.0}}) {
    FakePlatform fake;
    SharedControllers controllers(fake.platform);
    auto delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();
    if (c.stored) fake.userDefaults.values["lastNitsValue"] = *c.stored;

    delegate->performMenuAction("toggleXDR", {});
    EXPECT_DOUBLE_EQ(controllers.xdr().getPresetMaxNits(), c.applied) << c.stored.value_or(-1);
    EXPECT_EQ(std::get<double>(fake.userDefaults.values.at("lastNitsValue")), c.storedAfter);
  }
}

TEST_F(MenuActionsTest, SwitchingXDROffWritesNoPreferenceAndOnAgainUsesWhatIsStored) {
  fake_.setActiveCeiling(1000.0);
  pick("toggleXDR");
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(fake_.userDefaults.writeCount, 0);

  pick("toggleXDR");
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1600.0)
      << "1000 comes back only when it is stored";
  fake_.userDefaults.values["lastNitsValue"] = 1000.0;
  pick("toggleXDR");
  pick("toggleXDR");
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1000.0);
}

TEST_F(MenuActionsTest, TheTwoPlainTogglesFlipTheirKeyAndRefresh) {
  for (const char* selector : {"toggleAutoEnable", "toggleSimpleIcon"}) {
    const std::string key =
        std::string(selector) == "toggleAutoEnable" ? "autoEnableXDR" : "simpleIcon";
    fake_.log.clear();
    pick(selector);
    EXPECT_TRUE(storedFlag(key)) << selector;
    EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));
    pick(selector);
    EXPECT_FALSE(storedFlag(key)) << selector;
  }
  EXPECT_TRUE(fake_.windowServer.writes.empty());
}

TEST_F(MenuActionsTest, LaunchAtLoginRegistersAndUnregistersTheLoginItem) {
  pick("toggleLaunchAtLogin");
  EXPECT_TRUE(fake_.loginItems.registered());
  EXPECT_TRUE(storedFlag("launchAtLogin"));
  EXPECT_EQ(loginEntry().state, platform::ControlState::on);

  pick("toggleLaunchAtLogin");
  EXPECT_FALSE(fake_.loginItems.registered());
  EXPECT_FALSE(storedFlag("launchAtLogin"));
  EXPECT_TRUE(fake_.console.output.empty());
  EXPECT_TRUE(fake_.alerts.shown.empty());
  EXPECT_EQ(loginEntry().state, platform::ControlState::off);
}

// The user can turn the item off, or leave it unapproved, in the system's settings: the check
// mark shows what the system will do, whatever the app last stored.
TEST_F(MenuActionsTest, TheCheckMarkFollowsTheLoginItemAndApprovalIsLeftToTheUser) {
  fake_.userDefaults.values["launchAtLogin"] = true;
  fake_.loginItems.setStatus(platform::LoginItemStatus::notRegistered);
  delegate_->rebuildMenu();
  EXPECT_EQ(loginEntry().state, platform::ControlState::off);

  fake_.loginItems.statusAfterRegistering = platform::LoginItemStatus::requiresApproval;
  pick("toggleLaunchAtLogin");
  EXPECT_EQ(loginEntry().state, platform::ControlState::mixed);

  fake_.log.clear();
  pick("toggleLaunchAtLogin");
  EXPECT_EQ(fake_.log.count("loginItems.openSettings"), 1);
  EXPECT_EQ(fake_.log.count("loginItems.register"), 0);
  EXPECT_EQ(fake_.log.count("loginItems.unregister"), 0);

  fake_.loginItems.setStatus(platform::LoginItemStatus::enabled);  // approved meanwhile
  delegate_->rebuildMenu();
  EXPECT_EQ(loginEntry().state, platform::ControlState::on);
  fake_.loginItems.setStatus(platform::LoginItemStatus::notFound);
  delegate_->rebuildMenu();
  EXPECT_EQ(loginEntry().state, platform::ControlState::off);
}

TEST_F(MenuActionsTest, AFailedRegistrationIsShownInAnAlertOutsideTheQueueAndChangesNothing) {
  fake_.loginItems.registerError = "Operation not permitted";
  pick("toggleLaunchAtLogin");
  EXPECT_EQ(fake_.console.output,
            std::vector<std::string>{"Login item error: Operation not permitted"});
  EXPECT_FALSE(fake_.userDefaults.values.contains("launchAtLogin")) << "no choice recorded";
  EXPECT_EQ(loginEntry().state, platform::ControlState::off);
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));
  EXPECT_TRUE(fake_.alerts.shown.empty()) << "after the current event";
  EXPECT_EQ(fake_.log.count("mainQueue.nextTurn"), 1);
  EXPECT_EQ(fake_.log.count("mainQueue.async"), 0);
  fake_.mainQueue.drain();
  ASSERT_EQ(fake_.alerts.shown.size(), 1u);
  EXPECT_EQ(fake_.alerts.shown[0].messageText, "Launch at Login Could Not Be Turned On");
  EXPECT_EQ(fake_.alerts.shown[0].informativeText, "Operation not permitted");
  EXPECT_TRUE(fake_.alerts.shown[0].floatsAboveOtherApplications);

  fake_.loginItems.registerError.reset();
  pick("toggleLaunchAtLogin");
  fake_.loginItems.unregisterError = "Job not found";
  pick("toggleLaunchAtLogin");
  EXPECT_TRUE(fake_.loginItems.registered()) << "still registered";
  EXPECT_TRUE(storedFlag("launchAtLogin"));
  EXPECT_EQ(loginEntry().state, platform::ControlState::on);
  fake_.mainQueue.drain();
  ASSERT_EQ(fake_.alerts.shown.size(), 2u);
  EXPECT_EQ(fake_.alerts.shown[1].messageText, "Launch at Login Could Not Be Turned Off");
}

TEST_F(MenuActionsTest, DeepBlacksTagsOutsideTheLevelsDoNothingAtAll) {
  for (const std::int64_t tag : {4, -1, 1000}) {
    pick("setDeepBlacksLevel:", tag);
  }
  EXPECT_TRUE(fake_.log.events().empty());
  EXPECT_FALSE(controllers_.deepBlacks().isEnabled());

  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  pick("setDeepBlacksLevel:", 2);
  EXPECT_EQ(controllers_.deepBlacks().currentLevel(), DeepBlacksController::Level::medium);
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));
  EXPECT_EQ(fake_.statusBar.lastItem->menu->items[0].title,
            "\U0001F311 XDR + Deep Blacks (Medium)");
}

TEST_F(MenuActionsTest, ResetTurnsBothTweaksOffAndLeavesTheOtherKeysAlone) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["simpleIcon"] = true;
  fake_.userDefaults.values["launchAtLogin"] = true;
  pick("setNits:", 1600);
  pick("setDeepBlacksLevel:", 3);
  FakeUserDefaults::Value lastNitsBefore = fake_.userDefaults.values.at("lastNitsValue");
  auto before = fake_.userDefaults.values;

  pick("resetAllTweaks");
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(fake_.displays.restores, 1);
  EXPECT_FALSE(controllers_.deepBlacks().isEnabled());
  EXPECT_EQ(controllers_.deepBlacks().currentLevel(), DeepBlacksController::Level::off);
  EXPECT_TRUE(fake_.mainQueue.pending.empty()) << "no warning";

  auto after = fake_.userDefaults.values;
  EXPECT_FALSE(std::get<bool>(after.at("deepBlacksEnabled")));
  before.erase("deepBlacksEnabled");
  after.erase("deepBlacksEnabled");
  EXPECT_EQ(after, before);
  EXPECT_EQ(fake_.userDefaults.values.at("lastNitsValue"), lastNitsBefore);
}

TEST_F(MenuActionsTest, EveryStateChangingActionRefreshesTheStatusItemThenTheMenuOnce) {
  const std::vector<std::pair<std::string, std::int64_t>> actions{
      {"setNits:", 800},          {"setNits:", 500},          {"toggleXDR", 0},
      {"toggleAutoEnable", 0},    {"toggleLaunchAtLogin", 0}, {"toggleSimpleIcon", 0},
      {"setDeepBlacksLevel:", 1}, {"resetAllTweaks", 0}};
  for (const auto& [selector, tag] : actions) {
    fake_.log.clear();
    pick(selector, tag);
    EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"})) << selector;
  }
  fake_.log.clear();
  pick("checkForUpdates");
  EXPECT_TRUE(refreshes().empty());
}

TEST_F(MenuActionsTest, EveryEntryOfTheMenuReachesAMethod) {
  const platform::Menu& menu = *fake_.statusBar.lastItem->menu;
  std::vector<const platform::MenuItem*> entries;
  for (const auto& item : menu.items) {
    entries.push_back(&item);
    if (item.submenu) {
      for (const auto& sub : item.submenu->items)
        entries.push_back(&sub);
    }
  }
  for (const platform::MenuItem* item : entries) {
    if (item->action) {
      EXPECT_TRUE(delegate_->respondsToMenuAction(*item->action)) << item->title;
    }
  }
}

class SettingsWindowTest : public MenuActionsTest {
 protected:
  testing::FakeWindow& window(std::size_t index) { return *fake_.windows.made.at(index).lock(); }
};

TEST_F(SettingsWindowTest, OpensOneCentredAboutWindowAndShowsTheAppInTheDock) {
  pick("openSettings");
  ASSERT_EQ(fake_.windows.made.size(), 1u);
  testing::FakeWindow& settings = window(0);
  EXPECT_EQ(settings.contentRect, (platform::Rect{0, 0, 420, 280}));
  EXPECT_EQ(settings.styleMask, 3u) << "titled and closable only";
  EXPECT_EQ(settings.backing, platform::BackingStore::buffered);
  EXPECT_FALSE(settings.defer);
  EXPECT_EQ(settings.title, "Lumora Virir Settings");
  EXPECT_EQ(settings.centerings, 1);
  EXPECT_FALSE(settings.releasedWhenClosed);
  EXPECT_TRUE(settings.visible);
  EXPECT_EQ(fake_.application.policy, platform::ActivationPolicy::regular);
  EXPECT_EQ(fake_.application.activations, 1);

  const platform::View& content = *settings.contentView;
  EXPECT_EQ(content.frame, (platform::Rect{0, 0, 420, 280}));
  EXPECT_TRUE(content.wantsLayer);
  ASSERT_EQ(content.subviews.size(), 5u);
  EXPECT_EQ(content.subviews[0].kind, platform::View::Kind::separator);
  EXPECT_EQ(content.subviews[0].frame, (platform::Rect{20, 130, 380, 1}));
  EXPECT_EQ(content.subviews[1].text, "About");
  EXPECT_EQ(content.subviews[1].font, (platform::Font{.bold = true, .size = 13}));
  EXPECT_EQ(content.subviews[1].frame, (platform::Rect{20, 95, 380, 20}));
  EXPECT_EQ(content.subviews[2].text, "Lumora Virir v1.5.0 - XDR Brightness Control");
  EXPECT_EQ(content.subviews[2].textColor, platform::NamedColor::secondaryLabel);
  EXPECT_EQ(content.subviews[2].font, std::nullopt);
  EXPECT_EQ(content.subviews[2].frame, (platform::Rect{20, 75, 380, 16}));
  EXPECT_EQ(content.subviews[3].textColor, platform::NamedColor::tertiaryLabel);
  EXPECT_EQ(content.subviews[3].font, (platform::Font{.bold = false, .size = 11}));
  EXPECT_EQ(content.subviews[3].frame, (platform::Rect{20, 55, 380, 16}));
  EXPECT_NE(content.subviews[3].text.find("Lumora Virir"), std::string::npos);
}

// The window's button sends its action as a platform sends it when the button is pressed: the
// diagnosis lands on the pasteboard. It sits under the credit line, whole inside the window, and
// clear of every other view.
TEST_F(SettingsWindowTest, CopyDiagnosticsSitsUnderTheCreditLineAndCopiesTheDiagnosis) {
  pick("openSettings");
  const platform::View& content = *window(0).contentView;
  std::vector<const platform::View*> buttons;
  for (const platform::View& view : content.subviews) {
    if (view.kind == platform::View::Kind::button) buttons.push_back(&view);
  }
  ASSERT_EQ(buttons.size(), 1u);
  const platform::View& button = *buttons.front();
  EXPECT_EQ(button.text, "Copy Diagnostics");
  ASSERT_TRUE(button.action);
  EXPECT_EQ(button.action->view(), "copyDiagnostics");
  EXPECT_TRUE(button.subviews.empty());

  const platform::Rect& frame = button.frame;
  const platform::Rect& bounds = content.frame;
  EXPECT_GE(frame.x, 0);
  EXPECT_GE(frame.y, 0);
  EXPECT_LE(frame.x + frame.width, bounds.width);
  EXPECT_LE(frame.y + frame.height, bounds.height);
  EXPECT_GE(frame.width, 120) << "room for its title";
  const platform::View& credit = content.subviews[3];
  ASSERT_EQ(credit.text, "Made with care by the Lumora Virir team");
  EXPECT_LE(frame.y + frame.height, credit.frame.y) << "under the credit line";
  for (const platform::View& view : content.subviews) {
    if (&view == &button) continue;
    const bool apart =
        view.frame.y >= frame.y + frame.height || view.frame.y + view.frame.height <= frame.y;
    EXPECT_TRUE(apart) << view.text << " overlaps the button";
  }

  pick(*button.action);
  ASSERT_TRUE(fake_.pasteboard.contents);
  EXPECT_TRUE(fake_.pasteboard.contents->starts_with("Lumora Virir diagnostics"))
      << *fake_.pasteboard.contents;
  EXPECT_EQ(fake_.windows.made.size(), 1u) << "the window stays as it is";
  EXPECT_TRUE(window(0).visible);
}

TEST_F(SettingsWindowTest, ASecondOpenBringsTheSameWindowForward) {
  pick("openSettings");
  pick("openSettings");
  EXPECT_EQ(fake_.windows.made.size(), 1u);
  EXPECT_EQ(window(0).broughtToFront, 2);
  EXPECT_EQ(fake_.log.count("application.setActivationPolicy 0"), 2);
  EXPECT_EQ(fake_.application.activations, 2);
  EXPECT_EQ(fake_.notificationCenter.observers.size(), 1u);
}

TEST_F(SettingsWindowTest, ClosingReturnsToTheMenuBarAndReopeningBuildsAFreshWindow) {
  pick("openSettings");
  fake_.notificationCenter.closeWindow(window(0));
  EXPECT_EQ(fake_.application.policy, platform::ActivationPolicy::accessory);
  EXPECT_EQ(delegate_->settingsWindow(), nullptr);
  EXPECT_TRUE(fake_.windows.made[0].expired()) << "the closed window is let go";

  pick("openSettings");
  ASSERT_EQ(fake_.windows.made.size(), 2u);
  EXPECT_EQ(window(1).centerings, 1);
  EXPECT_EQ(delegate_->settingsWindow(), &window(1));
}

TEST_F(SettingsWindowTest, AHiddenStaleWindowIsReplacedAndItsLateCloseLeavesTheNewOneAlone) {
  pick("openSettings");
  const std::shared_ptr<testing::FakeWindow> stale = fake_.windows.made[0].lock();
  stale->visible = false;  // hidden without closing

  pick("openSettings");
  ASSERT_EQ(fake_.windows.made.size(), 2u);
  EXPECT_EQ(delegate_->settingsWindow(), &window(1));

  // The stale window closes after all: the newer one stays the settings window, in the Dock.
  fake_.notificationCenter.closeWindow(*stale);
  EXPECT_EQ(delegate_->settingsWindow(), &window(1));
  EXPECT_EQ(fake_.application.policy, platform::ActivationPolicy::regular);

  fake_.notificationCenter.closeWindow(window(1));
  EXPECT_EQ(delegate_->settingsWindow(), nullptr);
  EXPECT_EQ(fake_.application.policy, platform::ActivationPolicy::accessory);
}

TEST_F(SettingsWindowTest, WithTheDelegateGoneClosingOnlyReturnsToTheMenuBar) {
  pick("openSettings");
  const std::shared_ptr<testing::FakeWindow> settings = fake_.windows.made[0].lock();
  delegate_.reset();
  fake_.log.clear();
  fake_.notificationCenter.closeWindow(*settings);
  EXPECT_EQ(fake_.application.policy, platform::ActivationPolicy::accessory);
  EXPECT_EQ(fake_.log.events(), std::vector<std::string>{"application.setActivationPolicy 1"});
}

TEST_F(MenuActionsTest, EveryKeyTheActionsStoreIsOneOfTheListedKeys) {
  fake_.alerts.response = platform::alertFirstButtonReturn;
  for (const std::string_view selector :
       {"toggleAutoEnable", "toggleLaunchAtLogin", "toggleSimpleIcon", "toggleShortcuts",
        "toggleXDR", "togglePauseOnBattery", "togglePauseOnLowBattery", "togglePauseWhenHot"}) {
    pick(selector);
  }
  pick("setNits:", 1250);
  pick("setDeepBlacksLevel:", 3);
  fake_.mainQueue.drain();
  std::vector<std::string_view> listed;
  for (const preferences::StoredKey& key : preferences::allKeys)
    listed.push_back(key.name);
  for (const auto& [key, value] : fake_.userDefaults.values) {
    EXPECT_EQ(std::count(listed.begin(), listed.end(), key), 1) << key;
  }
  // All but the brightness method and the shortcuts' combinations, which only the user writes.
  EXPECT_FALSE(fake_.userDefaults.values.contains("brightnessMethod"));
  EXPECT_EQ(fake_.userDefaults.values.size(),
            listed.size() - 1 - ui::KeyboardShortcuts::shortcuts.size());
}

}  // namespace
}  // namespace lumora
