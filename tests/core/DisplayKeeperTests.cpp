#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"

namespace lumora {
namespace {

using testing::FakePlatform;

class DisplayKeeperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_.userDefaults.values["deepBlacksWarningShown"] = true;
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
  }
  // The settle timer after wake; the refresh timer repeats, the settle timer does not.
  bool settleTimerFires() {
    for (const auto& timer : fake_.timers.timers) {
      if (!timer->repeats && timer->valid) {
        timer->valid = false;
        timer->block();
        return true;
      }
    }
    return false;
  }
  void pick(std::string_view selector, std::int64_t tag = 0) {
    delegate_->performMenuAction(selector, platform::MenuItemSender{tag});
  }

  FakePlatform fake_;
  SharedControllers controllers_{fake_.platform};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(DisplayKeeperTest, DeepBlacksComesBackAfterEveryRestoreOnTheMainScreenAsItIsNow) {
  pick("setDeepBlacksLevel:", 2);
  ASSERT_EQ(fake_.displays.tablesLoaded.size(), 1u);
  const int writes = fake_.userDefaults.writeCount;

  fake_.displays.screen = platform::Screen{std::int64_t{9}};
  fake_.systemEvents.didWake();
  fake_.systemEvents.screensDidWake();
  fake_.systemEvents.displaysReconfigured();
  ASSERT_EQ(fake_.displays.tablesLoaded.size(), 4u);
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(fake_.displays.tablesLoaded[i].display, 9u);
    EXPECT_EQ(fake_.displays.tablesLoaded[i].red, fake_.displays.tablesLoaded[0].red);
  }
  EXPECT_EQ(fake_.userDefaults.writeCount, writes) << "nothing is stored";
  EXPECT_TRUE(fake_.mainQueue.pending.empty()) << "no warning";

  pick("setDeepBlacksLevel:", 0);
  fake_.systemEvents.didWake();
  fake_.systemEvents.displaysReconfigured();
  EXPECT_EQ(fake_.displays.tablesLoaded.size(), 4u) << "off stays off";
}

TEST_F(DisplayKeeperTest, XDRDroppedInSleepComesBackAtItsLevelOnceTheDisplaysSettle) {
  pick("setNits:", 1250);
  fake_.systemEvents.willSleep();
  fake_.windowServer.activeIndex[fake_.displays.mainDisplay] = 0;  // the preset was dropped
  fake_.systemEvents.didWake();
  EXPECT_EQ(fake_.activeIndex(), 0) << "not before the displays have settled";
  ASSERT_TRUE(settleTimerFires());
  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1250.0);
  EXPECT_EQ(fake_.statusBar.lastItem->fakeButton().image->symbolName.view(), "sun.max.fill");
}

TEST_F(DisplayKeeperTest, XDRIsLeftAloneWhenItWasOffKeptOrChangedByTheUser) {
  // Off at sleep.
  fake_.systemEvents.willSleep();
  fake_.systemEvents.didWake();
  EXPECT_FALSE(settleTimerFires());
  EXPECT_EQ(fake_.activeIndex(), 0);

  // Kept by the display.
  pick("setNits:", 1000);
  const std::size_t writes = fake_.windowServer.writes.size();
  fake_.systemEvents.willSleep();
  fake_.systemEvents.didWake();
  settleTimerFires();
  EXPECT_EQ(fake_.windowServer.writes.size(), writes);

  // Switched off by the user between wake and the check.
  fake_.systemEvents.willSleep();
  fake_.windowServer.activeIndex[fake_.displays.mainDisplay] = 0;
  fake_.systemEvents.didWake();
  pick("setNits:", 1600);
  pick("setNits:", 500);
  settleTimerFires();
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 500.0);
}

}  // namespace
}  // namespace lumora
