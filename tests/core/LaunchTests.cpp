#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "app/LumoraPanelApp.h"
#include "fakes/FakePlatform.h"

namespace lumora {
namespace {

using testing::FakePlatform;

class LaunchTest : public ::testing::Test {
 protected:
  // Runs the entry point on the fakes; the fake application finishes launching inside run.
  void launch() {
    EXPECT_EQ(LumoraPanelApp::main(fake_.platform, controllers_), 0);
    delegate_ = std::dynamic_pointer_cast<AppDelegate>(fake_.application.delegate.lock());
  }
  // The entry point lets go of the delegate when run returns; tests keep one made the same way.
  std::shared_ptr<AppDelegate> launchKeepingDelegate() {
    auto delegate = AppDelegate::create(fake_.platform, controllers_);
    fake_.application.delegate = delegate;
    delegate->applicationDidFinishLaunching();
    return delegate;
  }
  std::vector<std::string> refreshes() {
    std::vector<std::string> order;
    for (const std::string& event : fake_.log.events()) {
      if (event == "button.setTitle ") order.push_back("display");
      if (event == "statusItem.setMenu") order.push_back("menu");
    }
    return order;
  }

  FakePlatform fake_;
  SharedControllers controllers_{fake_.platform};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(LaunchTest, MainMakesAnAccessoryAppWithItsDelegateAndSignalHandlerThenRuns) {
  launch();
  const auto& events = fake_.log.events();
  const long delegateSet = fake_.log.indexOf("application.setDelegate");
  const long policySet = fake_.log.indexOf("application.setActivationPolicy 1");
  const long run = fake_.log.indexOf("application.run");
  ASSERT_GE(delegateSet, 0);
  EXPECT_LT(delegateSet, policySet);
  EXPECT_LT(policySet, run);
  EXPECT_EQ(fake_.terminationSignals.installs, 1);
  EXPECT_EQ(events.front(), "application.setDelegate") << "the delegate does nothing when made";
  EXPECT_TRUE(fake_.application.delegate.expired()) << "only main holds the delegate";
}

TEST_F(LaunchTest, AFirstLaunchMakesTheStandardPresetActiveAndStoresNothing) {
  fake_.setActiveCeiling(1000.0);
  const auto delegate = launchKeepingDelegate();

  EXPECT_EQ(fake_.log.events().front(), "statusBar.statusItem");
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_LT(fake_.log.indexOf("windowServer.setActive 0"), fake_.log.indexOf("button.setTitle "));
  EXPECT_TRUE(fake_.windowServer.writes.empty());
  EXPECT_EQ(fake_.userDefaults.writeCount, 0);
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));
  EXPECT_EQ(fake_.statusBar.lastItem->length, -1.0);

  ASSERT_EQ(fake_.timers.timers.size(), 1u);
  EXPECT_EQ(fake_.timers.timers.front()->interval.count(), 1.0);
  EXPECT_TRUE(fake_.timers.timers.front()->repeats);
  EXPECT_TRUE(delegate->hasRefreshTimer());
}

TEST_F(LaunchTest, AutoEnableAppliesTheRememberedLevel) {
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["lastNitsValue"] = 1250.0;
  const auto delegate = launchKeepingDelegate();

  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1250.0);
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu", "display", "menu"}));
  EXPECT_EQ(fake_.userDefaults.writeCount, 0);
}

TEST_F(LaunchTest, AutoEnableWithoutALevelAboveTheCeilingLeavesTheDisplayAlone) {
  for (const std::optional<double> stored :
       {std::optional<double>(), std::optional(0.0), std::optional(500.0), std::optional(-800.0)}) {
    FakePlatform fake;
    SharedControllers controllers(fake.platform);
    fake.userDefaults.values["autoEnableXDR"] = true;
    if (stored) fake.userDefaults.values["lastNitsValue"] = *stored;
    fake.setActiveCeiling(160.0, 3);
    auto delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();

    EXPECT_EQ(fake.activeIndex(), 3) << stored.value_or(-1);
    EXPECT_TRUE(fake.windowServer.activations.empty());
    EXPECT_TRUE(fake.windowServer.writes.empty());
  }
}

TEST_F(LaunchTest, AutoEnableKeepsALevelTheDisplayAlreadyHas) {
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["lastNitsValue"] = 1600.0;
  fake_.setActiveCeiling(1000.0);
  const auto delegate = launchKeepingDelegate();

  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1000.0);
  EXPECT_TRUE(fake_.windowServer.writes.empty());
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display", "menu"}));
}

TEST_F(LaunchTest, AutoEnableHandsAnOversizedLevelToTheClampAndKeepsItStored) {
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["lastNitsValue"] = 2000.0;
  const auto delegate = launchKeepingDelegate();

  EXPECT_DOUBLE_EQ(controllers_.xdr().getPresetMaxNits(), 1600.0);
  EXPECT_EQ(std::get<double>(fake_.userDefaults.values.at("lastNitsValue")), 2000.0);
}

TEST_F(LaunchTest, AStoredDeepBlacksLevelComesBackBeforeTheMenuIsBuilt) {
  fake_.userDefaults.values["deepBlacksEnabled"] = true;
  fake_.userDefaults.values["deepBlacksLevel"] = std::int64_t{2};
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  const auto delegate = launchKeepingDelegate();

  const long loaded = fake_.log.indexOf("displays.setTransferTable 7");
  ASSERT_GE(loaded, 0);
  EXPECT_LT(loaded, fake_.log.indexOf("button.setTitle "));
  EXPECT_LT(loaded, fake_.log.indexOf("statusItem.setMenu"));
  EXPECT_TRUE(controllers_.deepBlacks().isEnabled());
}

TEST_F(LaunchTest, TheTimerOnlyRefreshesTheStatusItemAndHoldsTheDelegateWeakly) {
  auto delegate = launchKeepingDelegate();
  fake_.log.clear();
  fake_.setActiveCeiling(1600.0);
  fake_.timers.fireAll();
  EXPECT_EQ(refreshes(), (std::vector<std::string>{"display"}));
  EXPECT_EQ(fake_.statusBar.lastItem->fakeButton().image->symbolName.view(), "sun.max.fill");

  delegate.reset();
  fake_.log.clear();
  fake_.timers.fireAll();
  EXPECT_TRUE(fake_.log.events().empty());
}

TEST_F(LaunchTest, QuitRestoresTheStandardPresetTwiceAndTerminates) {
  const auto delegate = launchKeepingDelegate();
  fake_.setActiveCeiling(1250.0);
  fake_.log.clear();

  delegate->performMenuAction("quit", {});

  EXPECT_EQ(fake_.log.events(),
            (std::vector<std::string>{"windowServer.setActive 0", "application.terminate",
                                      "windowServer.setActive 0"}));
  EXPECT_TRUE(fake_.application.terminated);
  EXPECT_EQ(fake_.activeIndex(), 0);
}

TEST_F(LaunchTest, TheSignalHandlerRestoresTheStandardPresetAndExitsWithZero) {
  launch();
  fake_.setActiveCeiling(1250.0);
  fake_.log.clear();
  ASSERT_TRUE(fake_.terminationSignals.handler);

  try {
    fake_.terminationSignals.handler();
    FAIL() << "the handler must end the process";
  } catch (const testing::ProcessExited& exited) {
    EXPECT_EQ(exited.status, 0);
  }
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(fake_.log.indexOf("application.terminate"), -1);
  // Nothing afterwards brings XDR back while the process ends.
  controllers_.xdr().setXDRBrightness(1600.0);
  EXPECT_EQ(fake_.activeIndex(), 0);
}

TEST_F(LaunchTest, TheSignalHandlerMakesTheXDRControllerWhenNothingHasYet) {
  fake_.application.finishesLaunchingOnRun = false;
  fake_.setActiveCeiling(1250.0);
  launch();
  EXPECT_TRUE(fake_.log.matching("windowServer.").empty()) << "nothing touched the display yet";

  EXPECT_THROW(fake_.terminationSignals.handler(), testing::ProcessExited);
  EXPECT_EQ(fake_.activeIndex(), 0);
}

TEST_F(LaunchTest, TheUpdaterIsMadeAndStartedOnTheFirstCheckOnly) {
  const auto delegate = launchKeepingDelegate();
  EXPECT_FALSE(delegate->hasUpdaterController());
  EXPECT_EQ(fake_.updaters.controllersMade, 0);

  delegate->performMenuAction("checkForUpdates", {});
  delegate->performMenuAction("checkForUpdates", {});

  EXPECT_EQ(fake_.updaters.controllersMade, 1);
  EXPECT_EQ(fake_.updaters.startingFlags, std::vector<bool>{true});
  EXPECT_EQ(fake_.log.count("updater.checkForUpdates"), 2);
  EXPECT_EQ(fake_.log.count("statusItem.setMenu"), 1) << "no refresh after a check";
}

TEST_F(LaunchTest, UnknownActionsAreNotAnsweredAndDoNothing) {
  const auto delegate = launchKeepingDelegate();
  fake_.log.clear();
  EXPECT_FALSE(delegate->respondsToMenuAction("frobnicate:"));
  delegate->performMenuAction("frobnicate:", {});
  EXPECT_TRUE(fake_.log.events().empty());
  EXPECT_TRUE(delegate->respondsToMenuAction("quit"));
}

}  // namespace
}  // namespace lumora
