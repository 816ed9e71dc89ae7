// Pausing XDR for battery and heat, as the app does it: what pauses, what the user sees, when it
// comes back, and that the user decides last.

#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "support/MenuEntries.h"

namespace lumora {
namespace {

using platform::PowerState;
using platform::ThermalState;
using testing::FakePlatform;

class XDRPauseTest : public ::testing::Test {
 protected:
  void launch() {
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
  }
  void pick(std::string_view selector, std::int64_t tag = 0) {
    delegate_->performMenuAction(selector, platform::MenuItemSender{tag});
  }
  void power(bool onBattery, int percent = 100, ThermalState thermal = ThermalState::nominal) {
    fake_.power.change(PowerState{.hasBattery = true,
                                  .onBattery = onBattery,
                                  .batteryPercent = percent,
                                  .thermalState = thermal});
  }
  void thermal(ThermalState state) {
    PowerState next = fake_.power.state;
    next.thermalState = state;
    fake_.power.change(next);
  }
  const platform::Menu& menu() const { return *fake_.statusBar.lastItem->menu; }
  std::string header() const { return menu().items.front().title; }
  const platform::MenuItem& pauseEntry(std::string_view title) const {
    return testing::entryTitled(*testing::entryTitled(menu(), "Pause XDR").submenu, title);
  }
  double nits() { return controllers_.xdr().currentNits(); }

  FakePlatform fake_;
  SharedControllers controllers_{fake_.platform};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(XDRPauseTest, EachConditionPausesOnlyWhenChosenAndOnlyWhileXDRIsOn) {
  launch();
  // XDR off: nothing to pause.
  power(true, 10);
  EXPECT_FALSE(controllers_.pause().isPaused());
  power(false);

  // On battery, not chosen by default: XDR stays.
  pick("setNits:", 1250);
  power(true, 90);
  EXPECT_DOUBLE_EQ(nits(), 1250.0);

  // Below 20 %, chosen by default.
  power(true, 19);
  EXPECT_DOUBLE_EQ(nits(), 500.0);
  EXPECT_EQ(header(), "\u23F8 XDR Paused (Battery Low)");

  // Not chosen: the same drop changes nothing.
  power(false);
  ASSERT_DOUBLE_EQ(nits(), 1250.0);
  pick("togglePauseOnLowBattery");
  power(true, 10);
  EXPECT_DOUBLE_EQ(nits(), 1250.0);

  // Heat, chosen by default, with the On Battery entry chosen too: the most pressing is named.
  pick("togglePauseOnBattery");
  ASSERT_DOUBLE_EQ(nits(), 500.0) << "chosen while on battery: paused at once";
  EXPECT_EQ(header(), "\u23F8 XDR Paused (On Battery)");
  thermal(ThermalState::serious);
  EXPECT_EQ(header(), "\u23F8 XDR Paused (Mac Is Hot)");
}

TEST_F(XDRPauseTest, TheHeaderAndTheSymbolNameThePauseAndTheMoonStays) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  launch();
  pick("setNits:", 1600);
  thermal(ThermalState::critical);
  EXPECT_EQ(header(), "\u23F8 XDR Paused (Mac Is Hot)");
  const testing::FakeStatusButton& button = fake_.statusBar.lastItem->fakeButton();
  ASSERT_TRUE(button.image);
  EXPECT_EQ(button.image->symbolName.view(), "pause.circle");
  EXPECT_EQ(testing::entryTitled(menu(), "Pause XDR").image->symbolName.view(), "pause.circle");

  pick("toggleSimpleIcon");
  EXPECT_EQ(button.title, "\u23F8");
  // Deep Blacks keeps its moon, as it always does, but the header still says why XDR is off.
  pick("setDeepBlacksLevel:", 2);
  EXPECT_EQ(button.title, "\U0001F319");
  EXPECT_EQ(header(), "\u23F8 XDR Paused (Mac Is Hot)");
}

TEST_F(XDRPauseTest, TheBatteryComesBackOnlyAtTwentyFivePercentOrOnTheCharger) {
  launch();
  pick("setNits:", 1000);
  power(true, 19);
  ASSERT_TRUE(controllers_.pause().isPaused());
  power(true, 24);
  EXPECT_TRUE(controllers_.pause().isPaused()) << "not yet: it would flap around 20 %";
  power(true, 25);
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(nits(), 1000.0) << "the level it had";
  EXPECT_EQ(header(), "\u2600\uFE0F XDR Enabled (200%)") << "the menu shows it";

  // Plugging in ends it too.
  power(true, 18);
  ASSERT_TRUE(controllers_.pause().isPaused());
  power(false, 18);
  EXPECT_DOUBLE_EQ(nits(), 1000.0);
}

TEST_F(XDRPauseTest, HeatMustStayCalmForTheWholeWhileBeforeXDRComesBack) {
  launch();
  pick("setNits:", 1250);
  thermal(ThermalState::serious);
  ASSERT_TRUE(controllers_.pause().isPaused());

  // Calm, then hot again before the time is up: the first wait counts for nothing.
  thermal(ThermalState::fair);
  ASSERT_EQ(fake_.timers.timers.back()->interval.count(), 60.0);
  const auto firstCalm = fake_.timers.timers.back();
  thermal(ThermalState::critical);
  EXPECT_FALSE(firstCalm->valid);
  thermal(ThermalState::nominal);
  EXPECT_TRUE(controllers_.pause().isPaused());

  // A full minute of calm: back.
  const auto secondCalm = fake_.timers.timers.back();
  ASSERT_TRUE(secondCalm->valid);
  secondCalm->valid = false;
  secondCalm->block();
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(nits(), 1250.0);
}

TEST_F(XDRPauseTest, ALevelPickedWhilePausedHoldsUntilAConditionStartsAnew) {
  launch();
  pick("setNits:", 1250);
  power(true, 15);
  ASSERT_TRUE(controllers_.pause().isPaused());

  pick("setNits:", 800);
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(nits(), 800.0);
  power(true, 14);
  power(true, 13);
  EXPECT_DOUBLE_EQ(nits(), 800.0) << "the same low battery is no new start";

  // A new drop below 20 % after the battery recovered is.
  power(true, 30);
  power(true, 19);
  EXPECT_DOUBLE_EQ(nits(), 500.0);
  power(false);
  EXPECT_DOUBLE_EQ(nits(), 800.0) << "the level picked last comes back";

  // Turning the entry off while it is the reason resumes.
  power(true, 10);
  ASSERT_TRUE(controllers_.pause().isPaused());
  pick("togglePauseOnLowBattery");
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(nits(), 800.0);
}

TEST_F(XDRPauseTest, ALevelAskedForByURLWhilePausedHoldsAsAPickedOneDoes) {
  launch();
  pick("setNits:", 1250);
  power(true, 15);
  ASSERT_TRUE(controllers_.pause().isPaused());
  fake_.openedURLs.open("lumora-virir://xdr/up");
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(nits(), 800.0) << "up from SDR, where the pause left it";
  power(true, 14);
  EXPECT_DOUBLE_EQ(nits(), 800.0);
}

TEST_F(XDRPauseTest, LaunchingOnBatteryWithItsEntryChosenStartsPaused) {
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["lastNitsValue"] = 1250.0;
  fake_.userDefaults.values["pauseOnBattery"] = true;
  fake_.power.state.onBattery = true;
  launch();
  EXPECT_DOUBLE_EQ(nits(), 500.0);
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(header(), "\u23F8 XDR Paused (On Battery)");
  EXPECT_EQ(pauseEntry("On Battery Power").state, platform::ControlState::on);

  power(false);
  EXPECT_DOUBLE_EQ(nits(), 1250.0);
}

TEST_F(XDRPauseTest, ADesktopMacShowsTheBatteryEntriesDisabled) {
  fake_.power.state = PowerState{};
  launch();
  for (const char* title : {"On Battery Power", "Below 20% Battery"}) {
    EXPECT_EQ(pauseEntry(title).enabled, false) << title;
    EXPECT_EQ(pauseEntry(title).state, platform::ControlState::off) << title;
  }
  EXPECT_EQ(pauseEntry("When the Mac Is Hot").enabled, std::nullopt);
  EXPECT_EQ(pauseEntry("When the Mac Is Hot").state, platform::ControlState::on);

  // A battery that comes, or goes again, shows in the menu at once, with nothing else changed.
  power(false);
  EXPECT_EQ(pauseEntry("On Battery Power").enabled, std::nullopt);
  EXPECT_EQ(pauseEntry("Below 20% Battery").state, platform::ControlState::on);
  fake_.power.change(PowerState{});
  EXPECT_EQ(pauseEntry("Below 20% Battery").enabled, false);
}

TEST_F(XDRPauseTest, NothingIsWrittenButTheChoiceTheUserChanged) {
  launch();
  pick("setNits:", 1250);
  power(true, 10, ThermalState::critical);
  power(false);
  thermal(ThermalState::nominal);
  for (const char* key : {"pauseOnBattery", "pauseOnLowBattery", "pauseWhenHot"})
    EXPECT_FALSE(fake_.userDefaults.values.contains(key)) << key;

  // The default of "Below 20% Battery" is on: its first change stores off, and only that.
  pick("togglePauseOnLowBattery");
  EXPECT_EQ(fake_.userDefaults.values.at("pauseOnLowBattery"),
            testing::FakeUserDefaults::Value(false));
  EXPECT_FALSE(fake_.userDefaults.values.contains("pauseOnBattery"));
  EXPECT_FALSE(fake_.userDefaults.values.contains("pauseWhenHot"));
  EXPECT_EQ(pauseEntry("Below 20% Battery").state, platform::ControlState::off);
}

}  // namespace
}  // namespace lumora
