// XDR brightness by either method, as the app uses it: which method runs, how the headroom
// method's table is composed, kept and taken down, and which display it acts on.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/LumoraPanelApp.h"
#include "core/HeadroomMethodFixture.h"
#include "support/MenuEntries.h"

namespace lumora {
namespace {

using Method = XDRController::Method;
using testing::FakePlatform;
using testing::HeadroomMethodTest;
using testing::panel;

TEST_F(HeadroomMethodTest, TheReleaseAndTheStoredDefaultChooseTheMethod) {
  struct Case {
    platform::OperatingSystemVersion release;
    std::optional<std::string> stored;
    Method method;
  };
  for (const Case& c :
       {Case{{26, 2, 0}, std::nullopt, Method::preset},
        Case{{26, 3, 0}, std::nullopt, Method::headroom},
        Case{{15, 7, 1}, std::nullopt, Method::preset}, Case{{26, 4, 0}, "preset", Method::preset},
        Case{{15, 7, 1}, "headroom", Method::headroom},
        Case{{26, 4, 0}, "bogus", Method::headroom}}) {
    FakePlatform fake;
    fake.operatingSystem.release = c.release;
    fake.extendedDynamicRange.headroom[panel] = 3.2;
    if (c.stored) fake.userDefaults.values["brightnessMethod"] = *c.stored;
    SharedControllers controllers(fake.platform);
    const auto delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();
    delegate->performMenuAction("setNits:", platform::MenuItemSender{1250});

    const std::string label = c.stored.value_or("absent") + " on " +
                              std::to_string(c.release.major) + "." +
                              std::to_string(c.release.minor);
    EXPECT_EQ(controllers.xdr().method(), c.method) << label;
    EXPECT_DOUBLE_EQ(controllers.xdr().currentNits(), 1250.0) << label;
    if (c.method == Method::preset) {
      EXPECT_EQ(fake.activeIndex(), 11) << label;
      EXPECT_TRUE(fake.extendedDynamicRange.windowsShown().empty()) << label;
    } else {
      EXPECT_TRUE(fake.log.matching("windowServer.").empty()) << label << ": no preset call";
      EXPECT_EQ(fake.extendedDynamicRange.windowsShown(), std::vector{panel}) << label;
    }
    EXPECT_EQ(fake.console.errors.size(), c.stored == "bogus" ? 1u : 0u) << label;
    EXPECT_FALSE(fake.userDefaults.values.contains("brightnessMethod") && !c.stored)
        << "the method chosen is never stored";
  }
}

TEST_F(HeadroomMethodTest, APresetRemovedLaterGoesOnThroughHeadroomAtTheSameLevel) {
  fake_.operatingSystem.release = {26, 2, 0};
  launch();
  pick("setNits:", 1250);
  second();
  ASSERT_EQ(xdr().method(), Method::preset) << "kept while the preset holds";

  // As 26.3 does: the standard preset active again and slot 11 emptied.
  fake_.windowServer.presets[panel].erase(11);
  fake_.windowServer.activeIndex[panel] = 0;
  second();

  EXPECT_EQ(xdr().method(), Method::headroom);
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  EXPECT_EQ(markedLevels(), std::vector<std::string>{"250% \u2013 1250 nits"});
  ASSERT_EQ(fake_.console.errors.size(), 1u);
  EXPECT_NE(fake_.console.errors[0].find("removed"), std::string::npos);
  EXPECT_EQ(fake_.mainQueue.drain(), 0) << "no alert";
}

TEST_F(HeadroomMethodTest, OnlyARemovalByTheSystemSwitchesTheMethod) {
  fake_.operatingSystem.release = {26, 2, 0};
  launch();
  // Another preset made active while ours is intact is the user's choice: XDR off.
  pick("setNits:", 1000);
  fake_.windowServer.activeIndex[panel] = 3;
  second();
  second();
  EXPECT_EQ(xdr().method(), Method::preset);
  EXPECT_FALSE(xdr().isXDREnabled());

  // A preset dropped over sleep is put back after the wake, not taken for a removal.
  pick("setNits:", 1250);
  fake_.systemEvents.willSleep();
  fake_.windowServer.presets[panel].erase(11);
  fake_.windowServer.activeIndex[panel] = 0;
  second();
  fake_.systemEvents.didWake();
  fake_.systemEvents.screensDidWake();
  second();
  second();
  EXPECT_EQ(xdr().method(), Method::preset);
  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0);

  // So is one dropped by a display change.
  fake_.windowServer.presets[panel].erase(11);
  fake_.windowServer.activeIndex[panel] = 0;
  fake_.systemEvents.displaysReconfigured();
  second();
  second();
  second();
  EXPECT_EQ(xdr().method(), Method::preset);
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0);
  EXPECT_TRUE(fake_.console.errors.empty());
}

TEST_F(HeadroomMethodTest, DeepBlacksAndTheBoostShareOneTable) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  launch();
  const auto curve = [](DeepBlacksController::Level level) {
    return DeepBlacksController::transferTable(
        DeepBlacksController::gammaExponents[static_cast<std::size_t>(level) - 1]);
  };
  // Deep Blacks alone loads its own table, exactly.
  pick("setDeepBlacksLevel:", 2);
  const auto medium = curve(DeepBlacksController::Level::medium);
  EXPECT_EQ(inForce(), std::vector<float>(medium.begin(), medium.end()));

  pick("setNits:", 1250);
  ASSERT_EQ(inForce().size(), 256u);
  EXPECT_NEAR(inForce()[128], 1.093310, 1e-5);  // 0.437324 x 2.5
  EXPECT_FLOAT_EQ(inForce()[255], 2.5f);
  for (std::size_t i = 0; i < medium.size(); ++i)
    EXPECT_FLOAT_EQ(inForce()[i], medium[i] * 2.5f);

  // Changing either keeps the other.
  pick("setDeepBlacksLevel:", 3);
  pick("setNits:", 1600);
  EXPECT_NEAR(inForce()[64], 0.530496, 1e-5);  // 0.165780 x 3.2
  EXPECT_FLOAT_EQ(inForce()[255], 3.2f);
  pick("setDeepBlacksLevel:", 0);
  EXPECT_FLOAT_EQ(inForce()[128], 128.0f / 255.0f * 3.2f) << "the calibration, boosted";

  // Off: the base again, here the calibration (no table of the app's).
  pick("setNits:", 500);
  EXPECT_TRUE(inForce().empty());
  EXPECT_TRUE(fake_.extendedDynamicRange.windowsShown().empty());
}

TEST_F(HeadroomMethodTest, AHeadroomBelowTheLevelCapsItAndTheMenuSaysSo) {
  fake_.extendedDynamicRange.headroom[panel] = 2.5;
  launch();
  pick("setNits:", 1600);
  EXPECT_EQ(markedLevels(), std::vector<std::string>{"320% \u2013 1600 nits (MAX)"});
  EXPECT_EQ(menu().items[0].title, "\u2600\uFE0F XDR Enabled (320%)");
  const platform::MenuItem& cap = testing::entryTitled(menu(), "Now ");
  EXPECT_EQ(cap.title, "Now 1250 nits: the display allows no more");
  EXPECT_EQ(cap.enabled, false);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);

  // The headroom grows as the panel cools: one new table, the menu built again, no cap line.
  const std::size_t tables = fake_.displays.tablesLoaded.size();
  const int menus = fake_.statusBar.lastItem->menuInstalls;
  fake_.extendedDynamicRange.headroom[panel] = 3.2;
  second();
  second();
  EXPECT_EQ(fake_.displays.tablesLoaded.size(), tables + 1);
  EXPECT_EQ(fake_.statusBar.lastItem->menuInstalls, menus + 1);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 3.2f);
  for (const platform::MenuItem& item : menu().items)
    EXPECT_FALSE(item.title.starts_with("Now "));

  // Idle seconds load nothing and build no menu.
  for (int i = 0; i < 5; ++i)
    second();
  EXPECT_EQ(fake_.displays.tablesLoaded.size(), tables + 1);
  EXPECT_EQ(fake_.statusBar.lastItem->menuInstalls, menus + 1);
}

TEST_F(HeadroomMethodTest, HeadroomThatNeverComesSaysUnavailableOnceAndStaysAtSDR) {
  fake_.extendedDynamicRange.givesHeadroom = false;
  launch();
  pick("setNits:", 1250);
  EXPECT_EQ(fake_.extendedDynamicRange.windowsShown(), std::vector{panel});
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0) << "the level is held while waiting";
  clock_.advance(std::chrono::milliseconds(2900));
  fake_.timers.fireAll();
  EXPECT_FALSE(fake_.extendedDynamicRange.windowsShown().empty()) << "still within 3 s";

  second();
  EXPECT_TRUE(fake_.extendedDynamicRange.windowsShown().empty());
  EXPECT_FALSE(xdr().isXDREnabled());
  EXPECT_EQ(menu().items[0].title, "\U0001F4A1 SDR Mode") << "the menu follows at once";
  EXPECT_TRUE(inForce().empty()) << "no boost was ever loaded";
  ASSERT_EQ(fake_.mainQueue.drain(), 1);
  ASSERT_EQ(fake_.alerts.shown.size(), 1u);
  EXPECT_EQ(fake_.alerts.shown[0].messageText, "XDR Brightness Unavailable");

  pick("toggleXDR");
  for (int i = 0; i < 4; ++i)
    second();
  fake_.mainQueue.drain();
  EXPECT_EQ(fake_.alerts.shown.size(), 1u) << "once per run";
  EXPECT_EQ(fake_.console.errors.size(), 1u);
}

TEST_F(HeadroomMethodTest, TheWaitForHeadroomIsAnActivityOfTheUserUntilItEnds) {
  const std::vector<std::string> waiting{"Waiting for EDR headroom"};
  fake_.extendedDynamicRange.givesHeadroom = false;
  launch();
  pick("setNits:", 1250);
  EXPECT_EQ(fake_.activities.open(), waiting);
  // Headroom that comes ends it.
  fake_.extendedDynamicRange.givesHeadroom = true;
  second();
  ASSERT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  EXPECT_TRUE(fake_.activities.open().empty());

  // Asking again after a display change is no request of the user's: nothing to wait on.
  fake_.extendedDynamicRange.givesHeadroom = false;
  fake_.systemEvents.displaysReconfigured();
  for (int i = 0; i < 3; ++i) {
    second();
    EXPECT_TRUE(fake_.activities.open().empty()) << i;
  }
  // Taken down while waiting: the wait ends with it.
  pick("setNits:", 1000);
  EXPECT_EQ(fake_.activities.open(), waiting);
  pick("setNits:", 500);
  EXPECT_TRUE(fake_.activities.open().empty());

  // Headroom that never comes: open until the wait is given up, not after.
  pick("setNits:", 1250);
  EXPECT_EQ(fake_.activities.open(), waiting);
  for (int i = 0; i < 4; ++i)
    second();
  EXPECT_FALSE(xdr().isXDREnabled());
  EXPECT_TRUE(fake_.activities.open().empty());
  EXPECT_EQ(fake_.activities.begun, 3);
}

TEST_F(HeadroomMethodTest, AnotherAppsTableIsReplacedUntilItKeepsComingBack) {
  launch();
  pick("setNits:", 1250);
  const std::vector<float> ours = inForce();
  const std::vector<float> nightLight(256, 0.4f);

  // Now and then: ours again, however long it goes on.
  for (int i = 0; i < 4; ++i) {
    fake_.displays.loadFromOutside(panel, nightLight);
    second();
    EXPECT_EQ(inForce(), ours) << i;
    clock_.advance(std::chrono::seconds(40));
  }
  EXPECT_TRUE(xdr().isXDREnabled());

  // Three times within a minute: given up to the other app, said once, not retried.
  for (int i = 0; i < 3; ++i) {
    fake_.displays.loadFromOutside(panel, nightLight);
    second();
  }
  EXPECT_EQ(inForce(), nightLight);
  EXPECT_FALSE(xdr().isXDREnabled());
  EXPECT_TRUE(fake_.extendedDynamicRange.windowsShown().empty());
  EXPECT_EQ(menu().items[0].title, "\U0001F4A1 SDR Mode");
  for (int i = 0; i < 5; ++i)
    second();
  EXPECT_EQ(inForce(), nightLight);
  fake_.mainQueue.drain();
  ASSERT_EQ(fake_.alerts.shown.size(), 1u);
  EXPECT_EQ(fake_.alerts.shown[0].messageText, "XDR Brightness Stopped");
  ASSERT_EQ(fake_.console.errors.size(), 1u);

  // Picking a level again is a fresh start.
  pick("setNits:", 1600);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 3.2f);
  fake_.displays.loadFromOutside(panel, nightLight);
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 3.2f);
}

TEST_F(HeadroomMethodTest, QuitAndEverySignalPutTheBaseTableBack) {
  fake_.userDefaults.values["autoEnableXDR"] = true;
  fake_.userDefaults.values["lastNitsValue"] = 1250.0;
  fake_.userDefaults.values["deepBlacksEnabled"] = true;
  fake_.userDefaults.values["deepBlacksLevel"] = std::int64_t{2};
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  const auto medium = DeepBlacksController::transferTable(1.2f);

  launch();
  ASSERT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f) << "auto-enable, composed";
  pick("quit");
  EXPECT_EQ(inForce(), std::vector<float>(medium.begin(), medium.end()));
  EXPECT_TRUE(fake_.extendedDynamicRange.windowsShown().empty());
  EXPECT_TRUE(fake_.application.terminated);

  // A termination signal, through the entry point's handler, from the signal thread's side.
  FakePlatform fake;
  fake.operatingSystem.release = {26, 4, 0};
  fake.extendedDynamicRange.headroom[panel] = 3.2;
  fake.userDefaults.values = fake_.userDefaults.values;
  fake.userDefaults.values.erase("deepBlacksEnabled");
  SharedControllers controllers(fake.platform);
  EXPECT_EQ(LumoraPanelApp::main(fake.platform, controllers), 0);
  ASSERT_FLOAT_EQ(fake.displays.peakInForce(panel), 2.5f);
  ASSERT_TRUE(fake.terminationSignals.handler);
  try {
    fake.terminationSignals.handler();
    ADD_FAILURE() << "the handler ends the process";
  } catch (const testing::ProcessExited& exited) {
    EXPECT_EQ(exited.status, 0);
  }
  EXPECT_FLOAT_EQ(fake.displays.peakInForce(panel), 1.0f) << "the calibration";
  // Nothing raises it again afterwards.
  controllers.xdr().setXDRBrightness(1600.0);
  EXPECT_FLOAT_EQ(fake.displays.peakInForce(panel), 1.0f);
}

TEST_F(HeadroomMethodTest, ABoostLeftByARunThatCrashedIsGoneAtLaunch) {
  std::vector<float> boosted(256);
  for (std::size_t i = 0; i < boosted.size(); ++i)
    boosted[i] = static_cast<float>(i) / 255 * 2.5f;
  fake_.displays.loadFromOutside(panel, boosted);
  launch();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f);
  EXPECT_EQ(fake_.displays.restores, 1);

  // And the calibration the boost builds on is the real one, not the one left behind.
  pick("setNits:", 1000);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.0f);
}

TEST_F(HeadroomMethodTest, WakeAndDisplayChangesAskForHeadroomAgainOnceTheDisplaysSettle) {
  launch();
  pick("setNits:", 1250);
  // macOS restores the calibration and lets the display out of EDR.
  fake_.displays.restoreColorSyncSettings();
  fake_.systemEvents.didWake();
  fake_.systemEvents.screensDidWake();
  const int draws = fake_.extendedDynamicRange.draws;
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f) << "settling";
  second();
  second();
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws + 1) << "one request serves both";
  EXPECT_EQ(fake_.extendedDynamicRange.windowsShown().size(), 1u);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);

  // A display change places the window anew, on the panel as it is then.
  const int made = fake_.extendedDynamicRange.windowsMade;
  fake_.displays.restoreColorSyncSettings();
  fake_.systemEvents.displaysReconfigured();
  for (int i = 0; i < 3; ++i)
    second();
  EXPECT_EQ(fake_.extendedDynamicRange.windowsMade, made + 1);
  EXPECT_EQ(fake_.extendedDynamicRange.windowsShown().size(), 1u);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
}

TEST_F(HeadroomMethodTest, TheBuiltInPanelIsDrivenWhenAnExternalDisplayIsMain) {
  // The external display has the menu bar and the focus; the built-in panel is display 3.
  for (const Method method : {Method::preset, Method::headroom}) {
    FakePlatform fake;
    fake.operatingSystem.release = method == Method::preset
                                       ? platform::OperatingSystemVersion{26, 2, 0}
                                       : platform::OperatingSystemVersion{26, 4, 0};
    fake.displays.builtIn = 3;
    fake.windowServer.presets[3][0] = testing::FakeWindowServer::standardPreset();
    fake.windowServer.activeIndex[3] = 0;
    fake.extendedDynamicRange.headroom[3] = 3.2;
    fake.userDefaults.values["deepBlacksWarningShown"] = true;
    SharedControllers controllers(fake.platform);
    const auto delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();
    delegate->performMenuAction("setNits:", platform::MenuItemSender{1250});
    delegate->performMenuAction("setDeepBlacksLevel:", platform::MenuItemSender{2});

    EXPECT_EQ(fake.windowServer.activeIndex[7], 0) << "the external display is left alone";
    EXPECT_EQ(fake.displays.inForce.count(7), 0u);
    EXPECT_EQ(fake.displays.inForce.count(3), 1u);
    EXPECT_DOUBLE_EQ(controllers.xdr().currentNits(), 1250.0);
    if (method == Method::preset) {
      EXPECT_EQ(fake.windowServer.activeIndex[3], 11);
    } else {
      EXPECT_EQ(fake.extendedDynamicRange.windowsShown(), std::vector<platform::DisplayID>{3});
      EXPECT_FLOAT_EQ(fake.displays.peakInForce(3), 2.5f);
    }
  }
}

}  // namespace
}  // namespace lumora
